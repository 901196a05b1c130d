// DialogDriver: the dialogs' and the editor's tests act as a user would: they find a control by
// what a screen reader calls it, type into boxes, pick list entries, press buttons and answer
// modal dialogs; and they open a model written into their own folder in a document.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "document/ModelDocument.h"
#include "support/GuiApplication.h"
#include "support/ModelFixture.h"
#include "support/TempDir.h"

namespace y4::test {

using Lines = std::vector<std::string>;

template <class W>
W& control(QWidget& window, const std::string& name) {
    W* found = findOneByAccessibleName<W>(window, QString::fromStdString(name));
    if (found == nullptr) {
        throw std::runtime_error("no single control named " + name);
    }
    return *found;
}

inline QLineEdit& box(QWidget& window, const std::string& name) {
    return control<QLineEdit>(window, name);
}
inline QPushButton& button(QWidget& window, const std::string& name) {
    return control<QPushButton>(window, name);
}
// On Linux a drop-down list tells screen readers its current text as its name and takes its
// caption from the label it is the buddy of; its own name is the widget's accessibleName.
inline QComboBox& list(QWidget& window, const std::string& name) {
    QComboBox* found = nullptr;
    for (QComboBox* list : window.findChildren<QComboBox*>()) {
        if (list->accessibleName() == QString::fromStdString(name)) {
            if (found != nullptr) {
                throw std::runtime_error("two lists named " + name);
            }
            found = list;
        }
    }
    if (found == nullptr) {
        throw std::runtime_error("no list named " + name);
    }
    return *found;
}
inline std::string textOf(QWidget& window, const std::string& name) {
    return box(window, name).text().toStdString();
}
// The texts of the eight boxes of vertex row `k` (from 1).
inline Lines rowTexts(QWidget& window, int k) {
    Lines texts;
    for (const char* column :
         {"X", "Y", "Z", "TextureU", "TextureV", "NormalX", "NormalY", "NormalZ"}) {
        texts.push_back(textOf(window, "Vertex " + std::to_string(k) + " " + column));
    }
    return texts;
}
// The path the editor shows for a record, the record first; "NULL" for none.
inline std::string pathOf(const SceneObject* record) {
    std::string path = "NULL";
    if (record != nullptr) {
        path.clear();
        record->appendPathName(path);
    }
    return path;
}
// Types `text` over what the box holds.
inline void type(QWidget& window, const std::string& name, const std::string& text) {
    box(window, name).setText(QString::fromStdString(text));
}
// The user picks entry `row` of a drop-down list; a disabled entry cannot be picked.
inline void choose(QComboBox& list, int row) {
    if (!(list.model()->flags(list.model()->index(row, 0)) & Qt::ItemIsEnabled)) {
        return;
    }
    list.setCurrentIndex(row);
    emit list.activated(row);
}

// Runs `answer` on the modal dialog that `open` shows; one left open is rejected, so the test
// cannot hang.
inline void withModal(const std::function<void()>& open,
                      const std::function<void(QDialog&)>& answer) {
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answered = true;
        answer(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << dialog->windowTitle().toStdString() << " stayed open";
            dialog->reject();
        }
    });
    open();
    EXPECT_TRUE(answered);
}

// A document over a model written into the test's folder with the bitmaps it names.
struct OpenModel {
    OpenModel(std::string_view fileName, std::string_view text) {
        path = ModelFixture::write(
            dir, fileName, text,
            {{"RED"}, {"BLUE"}, {"BRICK"}, {"GLASS"}, {"GRASS"}, {"ROCK"}, {"HILLS"}, {"STONE"}});
        if (!document.load(path)) {
            throw std::runtime_error("cannot open " + path);
        }
    }
    Reader& reader() const { return *document.reader(); }

    QApplication& application = guiApplication();
    TempDir dir;
    std::string path;
    ModelDocument document;
};

}  // namespace y4::test
