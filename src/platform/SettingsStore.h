#pragma once

#include <map>
#include <optional>
#include <string>

// The program-wide settings, kept under one key path (the place of the Windows registry key).
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // The stored string, or nothing when the value is missing or cannot be read.
    virtual std::optional<std::string> ReadString(const std::string& name) const = 0;
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
};

// Settings in memory, for tests.
class MemorySettings : public SettingsStore
{
public:
    std::optional<std::string> ReadString(const std::string& name) const override
    {
        const auto it = m_values.find(name);
        return it == m_values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void WriteString(const std::string& name, const std::string& value) override { m_values[name] = value; }

private:
    std::map<std::string, std::string> m_values;
};
