#pragma once

#include <QJsonObject>
#include <QString>

#include <map>
#include <optional>

namespace kntr {

/// The three-level tree of settings (application, section, key → value) that the
/// stores keep. Lookups ignore case; a name keeps the spelling of its first write.
class SettingsTree {
public:
    std::optional<QString> value(const QString& application, const QString& section,
                                 const QString& key) const;
    void setValue(const QString& application, const QString& section, const QString& key,
                  const QString& value);
    /// Removes a key, a section (key empty) or an application (section empty).
    /// Returns whether anything was removed.
    bool remove(const QString& application, const QString& section, const QString& key);

    bool isEmpty() const { return mApps.empty(); }

    QJsonObject toJson() const;
    /// Reads a tree written by toJson(). Entries of another JSON type than toJson()
    /// writes are skipped, and names that differ only in case are merged (the first
    /// spelling and the last value win); *complete, when given, tells whether nothing
    /// was skipped or merged, that is whether writing the tree back keeps everything.
    static SettingsTree fromJson(const QJsonObject& json, bool* complete = nullptr);

    /// Whether an object of the JSON text names a member twice. A JSON reader keeps
    /// only one of them, so that writing back what was read would lose the others.
    /// parsed is what the text was read as.
    static bool repeatsNames(const QByteArray& text, const QJsonObject& parsed);

private:
    template<typename T> struct Named {
        QString name;
        T item;
    };
    using Keys = std::map<QString, Named<QString>>;
    using Sections = std::map<QString, Named<Keys>>;
    using Apps = std::map<QString, Named<Sections>>;

    Apps mApps; // keyed by the lower-case name
};

} // namespace kntr
