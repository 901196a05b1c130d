// CPlaceholderToolDialog: a tool dialog that so far only shows one line of text and "Close";
// it holds the place of the textures and attributes windows in the main window's wiring.
#pragma once

#include "dialogs/CToolDialog.h"

namespace y4 {

class CPlaceholderToolDialog : public CToolDialog {
    Q_OBJECT

public:
    CPlaceholderToolDialog(const QString& caption, const QString& text, QWidget* parent);
};

}  // namespace y4
