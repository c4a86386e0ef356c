#pragma once

#include <QString>

class QSettings;

// The bookkeeping other installers and the upgrade read: where the program runs from and which
// version it is, kept under the product key with QSettings.
namespace InstallRecord {

inline constexpr const char *kOrganization = "Lanyan";
inline constexpr const char *kApplication = "LiqianBao";
inline constexpr const char *kProductGroup = "LYLQBT_CDHP";

// Writes RunPath and Version when they changed and FullPath always; false when the store
// could not be written.
bool update(QSettings &store, const QString &runDir, const QString &version,
            const QString &fullPath);

} // namespace InstallRecord
