#pragma once
// What a file dialog shows the user.

#include <QComboBox>
#include <QFileDialog>
#include <QStringList>

namespace stipple::testing {

// The entries of the dialog's file type list as they read on screen.
inline QStringList shownFilterTexts(const QFileDialog* dialog) {
    QStringList texts;
    if (const auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        for (int i = 0; i < types->count(); ++i) {
            texts.append(types->itemText(i));
        }
    }
    return texts;
}

}  // namespace stipple::testing
