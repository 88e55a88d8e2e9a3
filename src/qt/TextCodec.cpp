#include "qt/TextCodec.h"

#include <array>

#include "doc/CQuillboxDoc.h"
#include "notes/CQuillboxEditView.h"
#include "platform/EditControl.h"
#include "platform/Utf8.h"

namespace {

// Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page leaves unassigned keep their
// C1 control code, so every byte decodes to a character and encodes back to itself.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The Windows-1252 byte of a UTF-16 code unit, or -1 when the code page lacks it.
int Cp1252Byte(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == ch)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

void UpgradeString(std::string& bytes)
{
    bytes = TextCodec::DecodeCp1252(bytes).toUtf8().toStdString();
}

} // namespace

TextCodec::TextCodec(CQuillboxDoc* pDoc, QObject* parent)
    : QObject(parent)
    , m_pDoc(pDoc)
{
}

QString TextCodec::Decode(const std::string& bytes) const
{
    if (m_encoding == Encoding::Utf8)
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return DecodeCp1252(bytes);
}

std::string TextCodec::Encode(const QString& text)
{
    if (m_encoding == Encoding::Windows1252) {
        if (CanEncode(text))
            return EncodeCp1252(text);
        UpgradeToUtf8();
    }
    return text.toUtf8().toStdString();
}

bool TextCodec::CanEncode(const QString& text) const
{
    if (m_encoding == Encoding::Utf8)
        return true;
    for (const QChar ch : text) {
        if (Cp1252Byte(ch.unicode()) < 0)
            return false;
    }
    return true;
}

TextCodec::Encoding TextCodec::Detect(const CQuillboxDoc& doc)
{
    bool bValid = true;
    const auto check = [&bValid](const Folder* pFolder) {
        bValid = IsValidUtf8(pFolder->m_name) && IsValidUtf8(pFolder->m_text);
        return !bValid;
    };
    for (const Folder* pFolder : doc.m_folders) {
        if (check(pFolder))
            return Encoding::Windows1252;
    }
    if (doc.m_pClipFolder)
        WalkFolders(doc.m_pClipFolder, check, false);
    if (bValid && doc.m_pEditView)
        bValid = IsValidUtf8(doc.m_pEditView->GetEditCtrl().GetText());
    return bValid ? Encoding::Utf8 : Encoding::Windows1252;
}

void TextCodec::SetEncoding(Encoding encoding)
{
    if (encoding == m_encoding)
        return;
    m_encoding = encoding;
    emit EncodingChanged(false);
}

void TextCodec::UpgradeToUtf8()
{
    if (m_encoding == Encoding::Utf8)
        return;
    const auto upgrade = [](Folder* pFolder) {
        UpgradeString(pFolder->m_name);
        UpgradeString(pFolder->m_text);
    };
    for (Folder* pFolder : m_pDoc->m_folders)
        upgrade(pFolder);
    if (m_pDoc->m_pClipFolder)
        WalkFolders(m_pDoc->m_pClipFolder, upgrade, false);
    m_encoding = Encoding::Utf8;
    emit EncodingChanged(true);
}

QString TextCodec::DecodeCp1252(const std::string& bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t(byte));
    }
    return text;
}

std::string TextCodec::EncodeCp1252(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (const QChar ch : text) {
        const int byte = Cp1252Byte(ch.unicode());
        bytes += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return bytes;
}

bool TextCodec::IsValidUtf8(const std::string& bytes)
{
    return ::IsValidUtf8(bytes);
}
