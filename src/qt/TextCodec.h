#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <string>

class CQuillboxDoc;
class QMimeData;
class TextEncoding;

// Turns one notebook's bytes into the text on screen and back, the notebook's way: its
// encoding lives in the document, which decides every rule. Editor text uses '\n' for each
// line break; bytes the editor cannot hold as themselves come back exactly. Without a notebook
// (the main window's own messages) the bytes are UTF-8.
class TextCodec
{
public:
    explicit TextCodec(CQuillboxDoc* pDoc = nullptr);
    // The notebook, for a codec made before its notebook was.
    void SetDocument(CQuillboxDoc* pDoc) { m_pDoc = pDoc; }

    QString Decode(std::string_view bytes) const;
    // Text the user typed or pasted: the notebook turns to UTF-8 when the text holds a
    // character its code page lacks.
    void Accept(QStringView text);
    // Accepts the text, then gives its bytes.
    std::string Encode(QStringView text);
    // Bytes of text the notebook is known to hold, as the editor's own text always is.
    std::string EncodeHeld(QStringView text) const;
    // Sizes for mapping editor positions to byte offsets and back.
    long EncodedSize(QStringView text) const;
    long DecodedSize(std::string_view bytes) const;

    // The clipboard's form of bytes of this notebook: their characters as text/plain for other
    // programs, and the bytes themselves with their encoding for Quillbox.
    QMimeData* NewMimeData(std::string_view bytes) const;
    // Editor text for data pasted or dropped here: the exact bytes Quillbox copied, else another
    // program's text as the notebook would hold it read from a file; nothing when the data
    // holds no text, or without a notebook. The notebook turns to UTF-8 when it must.
    // `replaced` counts what could not be stored as itself and became U+FFFD.
    std::optional<QString> TakeMimeData(const QMimeData& data, size_t& replaced);

    const TextEncoding& GetEncoding() const;

private:
    CQuillboxDoc* m_pDoc;
};
