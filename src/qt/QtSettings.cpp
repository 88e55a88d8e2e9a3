#include "qt/QtSettings.h"

QtSettings::QtSettings()
    : m_settings(QStringLiteral("Harwick"), QStringLiteral("Quillbox1.0"))
{
}

std::optional<std::string> QtSettings::ReadString(const std::string& name) const
{
    const QVariant value = m_settings.value(QString::fromStdString(name));
    switch (value.typeId()) {
    // A number (stored so by hand or by another program) reads as its decimal digits: 1 is "1".
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return value.toString().toStdString();
    default:
        return std::nullopt;
    }
}

void QtSettings::WriteString(const std::string& name, const std::string& value)
{
    m_settings.setValue(QString::fromStdString(name), QString::fromStdString(value));
    m_settings.sync();
}
