// The per-user key-value store on QSettings.
#include "platform/qt/qsettings_key_value_store.h"

#include <QSettings>
#include <QStringList>
#include <QString>
#include <QVariant>

#include <limits>

namespace cabdrive {

namespace {

QString qstring(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QSettings openStore(std::string_view keyPath)
{
    // Application names are the key paths: "kestra", "vqcontroller".
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "Cabdrive", qstring(keyPath));
}

QVariant readValue(std::string_view keyPath, std::string_view name)
{
    QSettings settings = openStore(keyPath);
    return settings.value(qstring(name));
}

bool writeValue(std::string_view keyPath, std::string_view name, const QVariant& value)
{
    QSettings settings = openStore(keyPath);
    settings.setValue(qstring(name), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace

std::optional<std::int32_t> QSettingsKeyValueStore::readInt(std::string_view keyPath, std::string_view name)
{
    const QVariant value = readValue(keyPath, name);
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&ok);
    if (!ok || number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(number);
}

std::optional<std::string> QSettingsKeyValueStore::readString(std::string_view keyPath, std::string_view name)
{
    const QVariant value = readValue(keyPath, name);
    if (!value.isValid())
        return std::nullopt;
    // An INI value with unquoted commas (edited by hand) reads as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(',').toStdString();
    return value.toString().toStdString();
}

bool QSettingsKeyValueStore::writeInt(std::string_view keyPath, std::string_view name, std::int32_t value)
{
    return writeValue(keyPath, name, QVariant(static_cast<int>(value)));
}

bool QSettingsKeyValueStore::writeString(std::string_view keyPath, std::string_view name, std::string_view value)
{
    return writeValue(keyPath, name, QVariant(qstring(value)));
}

}  // namespace cabdrive
