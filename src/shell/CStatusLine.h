// CStatusLine: the line at the bottom of the main window. It shows the model's counts (groups,
// sub-entities, faces, vertices, textures), those of the selected record, "Modified" while the
// model has unsaved changes and, when "Frame time" is checked, how long the last frame took to
// draw. It follows the document's announcements and reads only list sizes, walking no more than
// the groups under a selected group, so it stays cheap on the largest models. Records marked
// deleted count until a commit purges them. Its "Keyboard shortcuts" link opens the key list.
#pragma once

#include <QStatusBar>

#include "document/DocumentObserver.h"

class QCheckBox;
class QLabel;

namespace y4 {

class CDrawFrame;
class ModelDocument;

class CStatusLine : public QStatusBar, private DocumentObserver {
    Q_OBJECT

public:
    // Both must outlive the line, which watches the document until it is destroyed.
    CStatusLine(ModelDocument& document, CDrawFrame& frame, QWidget* parent);
    ~CStatusLine() override;

    // "Groups 3  Sub-entities 7  Faces 120  Vertices 360  Textures 4"; empty without a model.
    QString modelText() const;
    // "Selected: Sub-entities 1  Faces 12  Vertices 36"; empty without a selection.
    QString selectionText() const;
    QString modifiedText() const;
    // "12.34 ms" after a timed frame; empty while frames are not timed.
    QString frameTimeText() const;
    QCheckBox& frameTimeCheck() const { return *frameTime_; }

signals:
    void shortcutsRequested();

private:
    void refresh();
    void showFrameTimes(bool on);

    void modelReplaced() override { refresh(); }
    void recordsAdded(const RecordSet&) override { refresh(); }
    void recordsRemoved(const RecordSet&) override { refresh(); }
    void bitmapsChanged() override { refresh(); }
    void selectionChanged(const SelectionChange&) override { refresh(); }
    void modifiedChanged(bool) override { refresh(); }

    ModelDocument& document_;
    CDrawFrame& frame_;
    QLabel* model_;
    QLabel* selection_;
    QLabel* modified_;
    QCheckBox* frameTime_;
    QLabel* frameTimeValue_;
    QLabel* shortcuts_;
};

}  // namespace y4
