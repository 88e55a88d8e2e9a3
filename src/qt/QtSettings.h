#pragma once

#include <QSettings>

#include "platform/SettingsStore.h"

// The program-wide settings in the user's configuration, under "Harwick/Quillbox1.0".
class QtSettings : public SettingsStore
{
public:
    QtSettings();

    std::optional<std::string> ReadString(const std::string& name) const override;
    void WriteString(const std::string& name, const std::string& value) override;

private:
    mutable QSettings m_settings;
};
