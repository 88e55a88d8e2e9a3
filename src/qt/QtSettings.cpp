#include "qt/QtSettings.h"

QtSettings::QtSettings()
    : m_settings(QStringLiteral("Harwick"), QStringLiteral("Quillbox1.0"))
{
}

std::optional<std::string> QtSettings::ReadString(const std::string& name) const
{
    const QVariant value = m_settings.value(QString::fromStdString(name));
    if (!value.isValid() || value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString().toStdString();
}

void QtSettings::WriteString(const std::string& name, const std::string& value)
{
    m_settings.setValue(QString::fromStdString(name), QString::fromStdString(value));
    m_settings.sync();
}
