#pragma once

#include <QObject>
#include <QString>

#include <string>

class CQuillboxDoc;

// How one notebook's bytes become the text on screen and back. A notebook is UTF-8 when all of
// it is valid UTF-8, otherwise Windows-1252; either way decoding and encoding again gives the
// same bytes. A Windows-1252 notebook that must hold a character Windows-1252 lacks is converted
// to UTF-8 as a whole, so nothing typed is lost.
class TextCodec : public QObject
{
    Q_OBJECT

public:
    enum class Encoding { Utf8, Windows1252 };

    explicit TextCodec(CQuillboxDoc* pDoc, QObject* parent = nullptr);

    QString Decode(const std::string& bytes) const;
    // Converts the notebook to UTF-8 first when the text holds a character Windows-1252 lacks.
    std::string Encode(const QString& text);
    // True when the notebook's encoding can hold every character of the text.
    bool CanEncode(const QString& text) const;

    // Utf8 when every folder name and text, the folder clipboard and the editor's text are
    // valid UTF-8. Read it while the editor holds the text off screen (between BeginBatch and
    // EndBatch), right after opening, so the editor's bytes are the file's.
    static Encoding Detect(const CQuillboxDoc& doc);
    void SetEncoding(Encoding encoding);
    Encoding GetEncoding() const { return m_encoding; }

    // Converts the notebook's names and texts and the folder clipboard from Windows-1252 to
    // UTF-8 and switches to UTF-8. Does nothing for a UTF-8 notebook.
    void UpgradeToUtf8();

    static QString DecodeCp1252(const std::string& bytes);
    // Characters Windows-1252 lacks come out as '?'; CanEncode tells them beforehand.
    static std::string EncodeCp1252(const QString& text);
    static bool IsValidUtf8(const std::string& bytes);

signals:
    // The encoding changed. With bUpgraded the notebook's bytes were converted (the text stayed
    // the same); without it the same bytes are now read the other way.
    void EncodingChanged(bool bUpgraded);

private:
    CQuillboxDoc* m_pDoc;
    Encoding m_encoding = Encoding::Utf8;
};
