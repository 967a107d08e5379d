#pragma once
// A settings store in memory that behaves like the registry store: one key that
// exists or not, reads that never create it, values decoded by the same rules.

#include "common/SettingsStore.h"

#include <map>
#include <span>
#include <string>
#include <vector>

class CMemorySettingsStore final : public ISettingsStore
{
public:
    // The registry types that matter to the reading rules.
    enum class Type { Binary, Dword, Text };
    struct Value { Type type = Type::Binary; std::vector<std::byte> data; };

    bool OpenKey(const std::wstring& path, bool create) override
    {
        m_open = path == Settings::kKeyPath && (create || m_keyExists);
        m_keyExists |= m_open;
        return path.empty() || m_open;
    }
    std::uint32_t ReadNumber(const wchar_t* name, std::uint32_t defaultValue) const override
    {
        return Find(name) ? Settings::DecodeNumber(Find(name)->data).value_or(defaultValue) : defaultValue;
    }
    bool WriteNumber(const wchar_t* name, std::uint32_t value) const override
    {
        return Put(name, Type::Binary, Settings::EncodeNumber(value));
    }
    std::wstring ReadText(const wchar_t* name, const std::wstring& defaultValue) const override
    {
        const Value* value = Find(name);
        if (!value || value->type != Type::Text || value->data.size() > (Settings::kMaxTextLength + 1) * 2)
            return defaultValue;
        return Settings::DecodeText(value->data);
    }
    bool WriteText(const wchar_t* name, const std::wstring& text) const override
    {
        std::vector<std::byte> bytes;
        for (const wchar_t unit : text + L'\0') // UTF-16LE, as the registry keeps it
            bytes.insert(bytes.end(), {std::byte(unit & 0xFF), std::byte((unit >> 8) & 0xFF)});
        return text.size() <= Settings::kMaxTextLength && Put(name, Type::Text, bytes);
    }
    std::optional<SyncDateRecord> ReadDateRecord(const wchar_t* name) const override
    {
        return Find(name) ? SyncDateRecord::Decode(Find(name)->data) : std::nullopt;
    }
    bool WriteDateRecord(const wchar_t* name, const SyncDateRecord& record) const override
    {
        return Put(name, Type::Binary, record.Encode());
    }

    // What another tool might have stored; brings the key into being.
    void PutRaw(const std::wstring& name, Type type, std::vector<std::byte> data)
    {
        m_keyExists = true;
        m_values[name] = Value{type, std::move(data)};
    }
    bool KeyExists() const noexcept { return m_keyExists; }

private:
    const Value* Find(const wchar_t* name) const
    {
        const auto found = m_values.find(name);
        return m_open && found != m_values.end() ? &found->second : nullptr;
    }
    bool Put(const wchar_t* name, Type type, std::span<const std::byte> data) const
    {
        return m_open && (m_values[name] = Value{type, {data.begin(), data.end()}}, true);
    }

    bool m_open = false, m_keyExists = false;
    // Const operations, as in the registry store, whose state lives outside the object.
    mutable std::map<std::wstring, Value> m_values;
};
