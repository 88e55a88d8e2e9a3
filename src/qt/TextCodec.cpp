#include "qt/TextCodec.h"

#include <QMimeData>

#include "doc/CQuillboxDoc.h"

namespace {

std::u16string_view Utf16(QStringView text)
{
    return { reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()) };
}

// The type of the bytes Quillbox copies, beside text/plain.
const QString kBytesType = QStringLiteral("application/x-quillbox-text");

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

QMimeData* TextCodec::NewMimeData(std::string_view bytes) const
{
    auto* pData = new QMimeData;
    const std::u16string text = GetEncoding().ToPlainText(bytes);
    pData->setText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    pData->setData(kBytesType, QByteArray::fromStdString(TextEncoding::Pack({ GetEncoding().GetKind(), bytes })));
    return pData;
}

std::optional<QString> TextCodec::TakeMimeData(const QMimeData& data, size_t& replaced)
{
    replaced = 0;
    if (!m_pDoc)
        return std::nullopt;
    const QByteArray packed = data.data(kBytesType);
    std::optional<TextEncoding::Copied> copied = TextEncoding::Unpack({ packed.constData(), static_cast<size_t>(packed.size()) });
    std::string fromText;
    if (!copied) {
        if (!data.hasText())
            return std::nullopt;
        fromText = TextEncoding::PlainTextToUtf8(Utf16(data.text()), replaced);
        copied = TextEncoding::Copied { TextEncoding::Kind::Utf8, fromText };
    }
    return Decode(m_pDoc->TakeText(copied->bytes, copied->kind));
}
