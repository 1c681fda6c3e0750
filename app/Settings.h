#pragma once

#include <QString>

#include "app/IniFile.h"

namespace tesmora {

class TForm1;

inline const QString kSettingsFileName = QStringLiteral("Tesmora_Settings.ini");
inline const QString kSettingsSection = QStringLiteral("Form1");
// Settings the window's sixteen classic keys do not hold: the folders each
// file dialog opened last, and the reading and output choices that outlast
// one film (the shift and the rate conversion do not).
inline const QString kProgramSection = QStringLiteral("Tesmora");

// Where the settings file lives: in the program's folder, or, where that
// folder cannot be written to (a program installed under /usr), in the
// user's configuration folder.
QString SettingsFilePath(const QString& programFolder, const QString& userConfigFolder);

// Puts the stored placement and choices back on the window. A slider set
// here runs its change handler; a list set here does not. Values that are
// missing, not numbers, or list positions that no longer exist leave what
// the window has; slider positions are held to the slider's range.
void RestoreSettings(TForm1& form, const IniFile& file);

// Writes the placement keys and the ten stored choices into the file, and
// the dialogs' folders and the lasting reading and output choices into a
// section of their own.
void StoreSettings(const TForm1& form, IniFile& file);

}  // namespace tesmora
