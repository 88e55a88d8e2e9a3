// Makes a pseudo-translation from a catalogue of the program's English (lupdate's .ts): each text
// becomes an accented, lengthened form in brackets, "[Ŝàvé Ñöţé ~~~]", that is still readable
// and shows at a glance a text that was never translated and one that is cut short. %1, %n,
// '&' accelerators and line breaks are kept. With --rtl the texts are marked right-to-left and
// the catalogue says "RTL", so the window is mirrored as in Arabic or Hebrew.
//
// pseudo-translate [--rtl] LANGUAGE IN.ts OUT.ts

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cstdio>

namespace {

QString Accented(const QString& text)
{
    static const QHash<QChar, QChar> accents = [] {
        const QString plain = QStringLiteral("AaCcEeGgIiKkLlNnOoRrSsTtUuYyZz");
        const QString marked = QStringLiteral("ÂàÇçÉéĜĝÎîĶķĻļÑñÖöŔŕŜŝŢţÛûÝýŽž");
        QHash<QChar, QChar> map;
        for (qsizetype i = 0; i < plain.size(); ++i)
            map.insert(plain[i], marked[i]);
        return map;
    }();
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // Placeholders and the accelerator's letter stay as they are.
        if ((c == u'%' || c == u'&') && i + 1 < text.size()) {
            out += c;
            out += text[++i];
            continue;
        }
        out += accents.value(c, c);
    }
    return out;
}

QString Pseudo(const QString& text, bool bRtl)
{
    if (text == QLatin1String("QT_LAYOUT_DIRECTION"))
        return bRtl ? QStringLiteral("RTL") : QStringLiteral("LTR");
    // About a third longer, as many languages are than English, in words of up to eight
    // letters: a long text wraps as a translation would.
    QString padding;
    for (qsizetype left = qMax<qsizetype>(1, text.size() / 3); left > 0; left -= 8)
        padding += (padding.isEmpty() ? QString() : QStringLiteral(" ")) + QString(qMin<qsizetype>(left, 8), u'~');
    const QString pseudo = u'[' + Accented(text) + u' ' + padding + u']';
    // Right-to-left marks make each text a right-to-left paragraph with Latin words inside.
    return bRtl ? QChar(0x200F) + pseudo + QChar(0x200F) : pseudo;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool bRtl = args.removeAll(QStringLiteral("--rtl")) > 0;
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: pseudo-translate [--rtl] LANGUAGE IN.ts OUT.ts\n");
        return 2;
    }
    QFile in(args[1]);
    QFile out(args[2]);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "pseudo-translate: cannot open %s or %s\n", qPrintable(args[1]), qPrintable(args[2]));
        return 1;
    }
    QXmlStreamReader reader(&in);
    QXmlStreamWriter writer(&out);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    QString source;
    bool bNumerus = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const auto name = reader.name();
            if (name == QLatin1String("TS")) {
                writer.writeStartElement(QStringLiteral("TS"));
                writer.writeAttribute(QStringLiteral("version"), QStringLiteral("2.1"));
                writer.writeAttribute(QStringLiteral("language"), args[0]);
            } else if (name == QLatin1String("message")) {
                bNumerus = reader.attributes().value(QStringLiteral("numerus")) == QLatin1String("yes");
                writer.writeStartElement(QStringLiteral("message"));
                if (bNumerus)
                    writer.writeAttribute(QStringLiteral("numerus"), QStringLiteral("yes"));
            } else if (name == QLatin1String("translation")) {
                // Made anew from the source below.
                reader.skipCurrentElement();
                writer.writeStartElement(QStringLiteral("translation"));
                if (bNumerus) {
                    for (int form = 0; form < 2; ++form)
                        writer.writeTextElement(QStringLiteral("numerusform"), Pseudo(source, bRtl));
                } else {
                    writer.writeCharacters(Pseudo(source, bRtl));
                }
                writer.writeEndElement();
            } else if (name == QLatin1String("source") || name == QLatin1String("name") || name == QLatin1String("comment")) {
                const QString text = reader.readElementText();
                if (name == QLatin1String("source"))
                    source = text;
                writer.writeTextElement(name.toString(), text);
            } else {
                writer.writeStartElement(name.toString());
                writer.writeAttributes(reader.attributes());
            }
        } else if (reader.isEndElement()) {
            writer.writeEndElement();
        }
    }
    writer.writeEndDocument();
    if (reader.hasError() || !out.flush()) {
        std::fprintf(stderr, "pseudo-translate: %s\n", qPrintable(reader.errorString()));
        return 1;
    }
    return 0;
}
