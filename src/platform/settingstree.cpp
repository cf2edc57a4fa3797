#include "settingstree.h"

#include <QJsonArray>

namespace kntr {

namespace {

QString fold(const QString& name)
{
    return name.toCaseFolded();
}

template<typename Map> auto* find(Map& map, const QString& name)
{
    auto it = map.find(fold(name));
    return it == map.end() ? nullptr : &it->second.item;
}

template<typename Map> auto& findOrAdd(Map& map, const QString& name)
{
    auto [it, added] = map.try_emplace(fold(name));
    if (added)
        it->second.name = name;
    return it->second.item;
}

/// The members of all objects in value.
qsizetype memberCount(const QJsonValue& value)
{
    qsizetype count = 0;
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        count = object.size();
        for (auto it = object.begin(); it != object.end(); ++it)
            count += memberCount(it.value());
    } else if (value.isArray()) {
        for (const QJsonValue& element : value.toArray())
            count += memberCount(element);
    }
    return count;
}

/// The member names written in a valid JSON text: the strings followed by ":".
qsizetype memberNameCount(const QByteArray& text)
{
    qsizetype count = 0;
    bool inString = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!inString) {
            inString = text[i] == '"';
        } else if (text[i] == '\\') {
            ++i;
        } else if (text[i] == '"') {
            inString = false;
            const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
            qsizetype next = i + 1;
            while (next < text.size() && blank(text[next]))
                ++next;
            count += next < text.size() && text[next] == ':';
        }
    }
    return count;
}

} // namespace

bool SettingsTree::repeatsNames(const QByteArray& text, const QJsonObject& parsed)
{
    return memberNameCount(text) > memberCount(parsed);
}

std::optional<QString> SettingsTree::value(const QString& application, const QString& section,
                                           const QString& key) const
{
    const auto* sections = find(mApps, application);
    const auto* keys = sections ? find(*sections, section) : nullptr;
    const auto* value = keys ? find(*keys, key) : nullptr;
    if (!value)
        return std::nullopt;
    return *value;
}

void SettingsTree::setValue(const QString& application, const QString& section, const QString& key,
                            const QString& value)
{
    findOrAdd(findOrAdd(findOrAdd(mApps, application), section), key) = value;
}

bool SettingsTree::remove(const QString& application, const QString& section, const QString& key)
{
    if (section.isEmpty())
        return mApps.erase(fold(application)) > 0;
    auto* sections = find(mApps, application);
    if (!sections)
        return false;
    if (key.isEmpty())
        return sections->erase(fold(section)) > 0;
    auto* keys = find(*sections, section);
    return keys && keys->erase(fold(key)) > 0;
}

QJsonObject SettingsTree::toJson() const
{
    QJsonObject apps;
    for (const auto& [_, app] : mApps) {
        QJsonObject sections;
        for (const auto& [_, section] : app.item) {
            QJsonObject keys;
            for (const auto& [_, key] : section.item)
                keys.insert(key.name, key.item);
            sections.insert(section.name, keys);
        }
        apps.insert(app.name, sections);
    }
    return apps;
}

SettingsTree SettingsTree::fromJson(const QJsonObject& json, bool* complete)
{
    bool whole = true;
    // The entry of name in map, made when absent; one already there has the same
    // name in another spelling, which makes the tree incomplete.
    auto entry = [&whole](auto& map, const QString& name) -> auto&
    {
        auto [it, added] = map.try_emplace(fold(name));
        if (added)
            it->second.name = name;
        whole &= added;
        return it->second.item;
    };
    SettingsTree tree;
    for (auto app = json.begin(); app != json.end(); ++app) {
        whole &= app.value().isObject();
        const QJsonObject sections = app.value().toObject();
        auto& appItem = entry(tree.mApps, app.key());
        for (auto section = sections.begin(); section != sections.end(); ++section) {
            whole &= section.value().isObject();
            const QJsonObject keys = section.value().toObject();
            auto& sectionItem = entry(appItem, section.key());
            for (auto key = keys.begin(); key != keys.end(); ++key) {
                if (key.value().isString())
                    entry(sectionItem, key.key()) = key.value().toString();
                else
                    whole = false;
            }
        }
    }
    if (complete)
        *complete = whole;
    return tree;
}

} // namespace kntr
