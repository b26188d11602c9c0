#pragma once

#include "widgets/platform.h"

// Where a save dialog opens: the folder the user last saved to with that
// dialog while it still exists, else the user's Pictures folder for a picture
// and Documents for an export, else their home folder. Returned with the
// proposed file name appended.
QString saveDialogStart(const settings::Preferences& preferences, const SaveRequest& request);

// After the user chose a file, its folder is where the dialog opens next time.
void rememberSaveFolder(settings::Preferences& preferences, const SaveRequest& request, const QString& path);
