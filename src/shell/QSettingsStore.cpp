// QSettingsStore: QSettings behind the settings seam.
#include "shell/QSettingsStore.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace y4 {

namespace {

const QString kGroup = QStringLiteral("Software/Miscellaneous/Y4Editor");

QString keyOf(std::string_view name) {
    return kGroup + QLatin1Char('/') +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

QSettingsStore::QSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Miscellaneous"),
                                            QStringLiteral("Y4Editor"))) {}

QSettingsStore::QSettingsStore(const std::string& iniPath)
    : settings_(
          std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat)) {}

QSettingsStore::~QSettingsStore() = default;

std::string QSettingsStore::query(std::string_view name) const {
    if (name.empty()) {
        return {};
    }
    const QVariant value = settings_->value(keyOf(name));
    switch (value.typeId()) {
        case QMetaType::QString:
            return value.toString().toStdString();
        case QMetaType::QStringList:
            // An unquoted text with commas, written by hand, comes back split.
            return value.toStringList().join(QStringLiteral(", ")).toStdString();
        default:
            return {};
    }
}

bool QSettingsStore::set(std::string_view name, std::string_view text) {
    if (name.empty() || !settings_->isWritable()) {
        return false;
    }
    // Rewriting the file for every value would make saving a group take most of a second.
    settings_->setValue(keyOf(name),
                        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

bool QSettingsStore::sync() {
    settings_->sync();
    return settings_->status() != QSettings::AccessError;
}

std::string QSettingsStore::fileName() const {
    return settings_->fileName().toStdString();
}

}  // namespace y4
