#pragma once

#include "settings/GlobalData.h"

#include <QString>

// Where config.ini lives: $XDG_CONFIG_HOME/Pagelark/config.ini (~/.config when unset).
QString ConfigFolderPath();
QString ConfigFilePath();

struct SettingsFileResult
{
    bool ok = true;
    QString error; // what failed, in the system's words, when !ok
};

// Save: writes data to fileName. The record overlays the old file's bytes (a longer old tail
// stays after it) and goes through a temporary file and a rename, so a failed write leaves the
// old file whole. Load: clears data's strings and variants and reads the record; a damaged file
// gives the fields it holds whole. A missing file is created empty, with its folder.
// Either way the defaults rule runs last, also when the file could not be opened.
SettingsFileResult SaveLoadGlobalData(const QString &fileName, bool save, GlobalData &data);
