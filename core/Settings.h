#pragma once
// The settings kept between runs: an INI file at $XDG_CONFIG_HOME/Tonvera/Tonvera.conf with the
// sections "UserDef" and "URL". Every value is text as the program has always stored it:
// "True"/"False", check-box values "0"/"1"/"2", decimal numbers. A missing key gives the default.

#include <QString>
#include <memory>

class QSettings;

// One key of the store with its section and default text.
struct SettingKey
{
    const char *section;
    const char *key;
    const char *defaultText;
};

namespace Keys {
inline constexpr SettingKey Language {"UserDef", "Language", ""};
inline constexpr SettingKey Path {"UserDef", "Path", ""}; // default: the user's home folder
inline constexpr SettingKey swOrd {"UserDef", "swOrd", "A"};
inline constexpr SettingKey iTyp {"UserDef", "iTyp", "0"};
inline constexpr SettingKey usrDir {"UserDef", "usrDir", ""}; // default: CurrentFolder
inline constexpr SettingKey savDir {"UserDef", "savDir", ""}; // default: CurrentFolder
inline constexpr SettingKey kTimeMP3 {"UserDef", "kTimeMP3", "2.5"};
inline constexpr SettingKey kTimeWAV {"UserDef", "kTimeWAV", "2.5"};
// Files a run converts at once: 0 for one per processor core (at most 8), 1 for one at a time.
inline constexpr SettingKey FilesAtOnce {"UserDef", "FilesAtOnce", "0"};
inline constexpr SettingKey Option1 {"UserDef", "Option1", "False"};
inline constexpr SettingKey ListIndex {"UserDef", "ListIndex", "-1"};
inline constexpr SettingKey ChkTag {"UserDef", "ChkTag", "0"};
inline constexpr SettingKey chkCutNam {"UserDef", "chkCutNam", "1"};
inline constexpr SettingKey OptParName {"UserDef", "OptParName", "False"};
} // namespace Keys

class Settings
{
public:
    // The user's store (see settingsFilePath).
    Settings();
    // A store in the given INI file.
    explicit Settings(const QString &filePath);
    ~Settings();
    Settings(const Settings &) = delete;
    Settings &operator=(const Settings &) = delete;

    // $XDG_CONFIG_HOME/Tonvera/Tonvera.conf (XDG_CONFIG_HOME defaults to ~/.config).
    static QString settingsFilePath();
    QString fileName() const;

    // The plain store, as GetSetting/SaveSetting/DeleteSetting.
    QString text(const QString &section, const QString &key, const QString &defaultText) const;
    void setText(const QString &section, const QString &key, const QString &value);
    void remove(const QString &section, const QString &key);
    bool contains(const QString &section, const QString &key) const;

    // Typed access through the keys table; defaultText overrides the table's default when given.
    QString text(const SettingKey &key) const;
    QString text(const SettingKey &key, const QString &defaultText) const;
    bool boolean(const SettingKey &key) const;
    int integer(const SettingKey &key) const;
    float single(const SettingKey &key) const;
    void setText(const SettingKey &key, const QString &value);
    void setBoolean(const SettingKey &key, bool value);
    void setInteger(const SettingKey &key, int value);
    void setSingle(const SettingKey &key, float value);
    void remove(const SettingKey &key);

    // Writes pending changes to disk.
    void sync();

    // Text forms used in the store.
    static QString booleanText(bool value);
    static bool parseBoolean(const QString &text, bool fallback);
    static QString singleText(float value);
    static float parseSingle(const QString &text, float fallback);

private:
    std::unique_ptr<QSettings> m_store;
};
