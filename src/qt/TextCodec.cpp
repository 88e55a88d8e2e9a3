#include "qt/TextCodec.h"

#include "doc/CQuillboxDoc.h"

namespace {

std::u16string_view Utf16(QStringView text)
{
    return { reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()) };
}

} // namespace

TextCodec::TextCodec(CQuillboxDoc* pDoc)
    : m_pDoc(pDoc)
{
}

const TextEncoding& TextCodec::GetEncoding() const
{
    static const TextEncoding utf8(TextEncoding::Kind::Utf8);
    return m_pDoc ? m_pDoc->GetEncoding() : utf8;
}

QString TextCodec::Decode(std::string_view bytes) const
{
    // Sized first, so the text is decoded straight into the string: no copy of a big folder.
    QString text(static_cast<qsizetype>(GetEncoding().DecodedSize(bytes)), Qt::Uninitialized);
    GetEncoding().DecodeTo(bytes, reinterpret_cast<char16_t*>(text.data()));
    return text;
}

void TextCodec::Accept(QStringView text)
{
    if (m_pDoc)
        m_pDoc->OnTextTyped(Utf16(text));
}

std::string TextCodec::Encode(QStringView text)
{
    Accept(text);
    return EncodeHeld(text);
}

std::string TextCodec::EncodeHeld(QStringView text) const
{
    return GetEncoding().Encode(Utf16(text));
}

long TextCodec::EncodedSize(QStringView text) const
{
    return static_cast<long>(GetEncoding().EncodedSize(Utf16(text)));
}

long TextCodec::DecodedSize(std::string_view bytes) const
{
    return static_cast<long>(GetEncoding().DecodedSize(bytes));
}
