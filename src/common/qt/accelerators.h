// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QObject;
class QWidget;

namespace komet {

// Gives each push button, check box and radio button of `window` that has
// none an Alt accelerator: the first letter of its text that no other
// control of the window uses yet. Texts that carry one keep it.
void AddAccelerators(QWidget* window);

// Does that for every window of the program as it is first shown, so that
// buttons added later by any window get theirs too. `app` is the
// application object, which owns the filter.
void InstallAccelerators(QObject* app);

}  // namespace komet
