#pragma once

class QDialog;

// Every dialog comes up in the middle of the main window, also one opened from
// another dialog (a period from the crop dialog, a group from the group list):
// the toolkit would centre it on the dialog that opened it, which the user may
// have moved anywhere. The main window is the last owner up the chain.
void centreOnMainWindow(QDialog* dialog);
