#pragma once
// A settings store in memory that behaves like the registry store (one key that
// exists or not, reads that never create it, values decoded by the same rules)
// and records the order of the writes it took.

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
        if (path.empty())
            return m_path.clear(), true;
        if (path != Settings::kKeyPath || (!create && !m_keyExists))
            return false;
        m_keyExists = true;
        m_path = path;
        return true;
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
        if (text.size() > Settings::kMaxTextLength)
            return false;
        std::vector<std::byte> bytes;
        for (const wchar_t unit : text + L'\0')
        {
            bytes.push_back(static_cast<std::byte>(unit & 0xFF));
            bytes.push_back(static_cast<std::byte>((unit >> 8) & 0xFF));
        }
        return Put(name, Type::Text, bytes);
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
    // The names written through the store, in order.
    const std::vector<std::wstring>& Writes() const noexcept { return m_writes; }

private:
    const Value* Find(const wchar_t* name) const
    {
        const auto found = m_values.find(name);
        return m_keyExists && m_path == Settings::kKeyPath && found != m_values.end() ? &found->second : nullptr;
    }
    bool Put(const wchar_t* name, Type type, std::span<const std::byte> data) const
    {
        if (!m_keyExists || m_path != Settings::kKeyPath)
            return false;
        m_values[name] = Value{type, std::vector<std::byte>(data.begin(), data.end())};
        m_writes.emplace_back(name);
        return true;
    }

    std::wstring m_path;
    bool m_keyExists = false;
    // Const operations, as in the registry store, whose state lives outside the object.
    mutable std::map<std::wstring, Value> m_values;
    mutable std::vector<std::wstring> m_writes;
};
