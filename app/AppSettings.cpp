#include "app/AppSettings.h"

#include <QRegularExpression>
#include <QSettings>

namespace orvane {

int AppSettings::ReadPortNumber() const {
    bool ok = false;
    const int number = QSettings().value("Config/ComPort", -1).toInt(&ok);
    return ok ? number : -1;
}

void AppSettings::StorePortNumber(int portNumber) {
    // A number no device keeps (a standalone simulator's) means another port at the next
    // start, so it is not offered again.
    if (LoadComAssignments().count(portNumber) != 0) {
        QSettings().setValue("Config/ComPort", portNumber);
    }
}

std::map<int, std::string> AppSettings::LoadComAssignments() {
    QSettings settings;
    settings.beginGroup("Ports");
    static const QRegularExpression comKey("^COM([1-9][0-9]{0,4})$");
    std::map<int, std::string> assignments;
    for (const QString& key : settings.childKeys()) {
        const auto match = comKey.match(key);
        const QString identity = settings.value(key).toString();
        if (match.hasMatch() && !identity.isEmpty()) {
            assignments.emplace(match.captured(1).toInt(), identity.toStdString());
        }
    }
    return assignments;
}

void AppSettings::SaveComAssignments(const std::map<int, std::string>& assignments) {
    QSettings settings;
    settings.beginGroup("Ports");
    for (const QString& key : settings.childKeys()) {
        if (key.startsWith("COM")) {
            settings.remove(key);
        }
    }
    for (const auto& [number, identity] : assignments) {
        settings.setValue(QString("COM%1").arg(number), QString::fromStdString(identity));
    }
}

std::vector<std::string> AppSettings::ExtraDevicePaths() {
    std::vector<std::string> paths;
    for (const QString& path : QSettings().value("Ports/ExtraDevices").toStringList()) {
        if (!path.trimmed().isEmpty()) {
            paths.push_back(path.trimmed().toStdString());
        }
    }
    return paths;
}

SafeWriteChoices AppSettings::LoadSafeWriteChoices() const {
    QSettings settings;
    settings.beginGroup("SafeWrite");
    SafeWriteChoices choices;
    choices.backup = settings.value("Backup", false).toBool();
    choices.backupFolder = settings.value("BackupFolder").toString().toStdString();
    choices.preview = settings.value("Preview", false).toBool();
    choices.verify = settings.value("Verify", false).toBool();
    return choices;
}

void AppSettings::StoreSafeWriteChoices(const SafeWriteChoices& choices) {
    QSettings settings;
    settings.beginGroup("SafeWrite");
    settings.setValue("Backup", choices.backup);
    settings.setValue("BackupFolder", QString::fromStdString(choices.backupFolder));
    settings.setValue("Preview", choices.preview);
    settings.setValue("Verify", choices.verify);
}

} // namespace orvane
