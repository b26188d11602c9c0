#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;

// The centred OK and キャンセル row every editing dialog ends with: OK is the
// default button, キャンセル closes the dialog with nothing changed.
QHBoxLayout* okCancelRow(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel);
QHBoxLayout* okCancelRow(QDialog* dialog, QPushButton*& ok);
