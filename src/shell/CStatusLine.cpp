// The main window's status line: counts, the modified state and the frame time.
#include "shell/CStatusLine.h"

#include <QCheckBox>
#include <QLabel>
#include <QStringList>

#include "document/ModelDocument.h"
#include "model/SubtreeWalk.h"
#include "view/CDrawFrame.h"

namespace y4 {

namespace {

struct Counts {
    std::size_t groups = 0;
    std::size_t subEntities = 0;
    std::size_t faces = 0;
    std::size_t vertices = 0;
};

void addSubEntity(Counts& counts, const SubEntity& s) {
    ++counts.subEntities;
    counts.faces += s.faces.size();
    counts.vertices += s.vertices.size();
}

// What a record holds; a group's through all its descendants.
Counts countsOf(const SceneObject& record) {
    Counts counts;
    switch (record.kind()) {
        case SceneObject::kEntity:
            SubtreeWalk::entities(static_cast<const Entity&>(record), [&](const Entity& e) {
                ++counts.groups;
                for (const SubEntity* s : e.subEntities) {
                    addSubEntity(counts, *s);
                }
                return true;
            });
            break;
        case SceneObject::kSubEntity:
            addSubEntity(counts, static_cast<const SubEntity&>(record));
            break;
        case SceneObject::kFace:
            counts.faces = 1;
            counts.vertices = 3;
            break;
        default:
            counts.vertices = 1;
            break;
    }
    return counts;
}

// The counts that are not zero, each as "Name n", two spaces apart.
QString countsText(const Counts& c) {
    const std::pair<const char*, std::size_t> parts[] = {{"Groups", c.groups},
                                                         {"Sub-entities", c.subEntities},
                                                         {"Faces", c.faces},
                                                         {"Vertices", c.vertices}};
    QStringList texts;
    for (const auto& [name, count] : parts) {
        if (count > 0) {
            texts.append(QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(count));
        }
    }
    return texts.join(QStringLiteral("  "));
}

QLabel* makeLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(QString::fromLatin1(name));
    return label;
}

}  // namespace

CStatusLine::CStatusLine(ModelDocument& document, CDrawFrame& frame, QWidget* parent)
    : QStatusBar(parent), document_(document), frame_(frame) {
    setSizeGripEnabled(false);
    model_ = makeLabel("Model counts", this);
    selection_ = makeLabel("Selection counts", this);
    modified_ = makeLabel("Modified state", this);
    frameTime_ = new QCheckBox(QStringLiteral("Frame time"), this);
    frameTimeValue_ = makeLabel("Frame time value", this);
    // A link rather than a button: it takes no focus, and no Enter, from the main window.
    shortcuts_ = makeLabel("Keyboard shortcuts", this);
    shortcuts_->setText(QStringLiteral("<a href=\"#shortcuts\">Keyboard shortcuts</a> (F1)"));
    shortcuts_->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    frameTime_->setFocusPolicy(Qt::NoFocus);
    addWidget(model_);
    addWidget(selection_, 1);
    addPermanentWidget(modified_);
    addPermanentWidget(frameTime_);
    addPermanentWidget(frameTimeValue_);
    addPermanentWidget(shortcuts_);
    connect(frameTime_, &QCheckBox::toggled, this, &CStatusLine::showFrameTimes);
    connect(shortcuts_, &QLabel::linkActivated, this, &CStatusLine::shortcutsRequested);
    document_.addObserver(this);
    refresh();
}

CStatusLine::~CStatusLine() {
    frame_.setFrameTimer(nullptr);
    document_.removeObserver(this);
}

void CStatusLine::refresh() {
    const Reader* reader = document_.reader();
    // Like every control but Load and Exit, frame times wait for a model.
    frameTime_->setEnabled(reader != nullptr);
    if (reader == nullptr) {
        model_->clear();
        selection_->clear();
        modified_->clear();
        return;
    }
    const Counts all{reader->entities.size(), reader->subEntities.size(), reader->faces.size(),
                     reader->vertices.size()};
    model_->setText(QStringLiteral("Groups %1  Sub-entities %2  Faces %3  Vertices %4  Textures %5")
                        .arg(all.groups)
                        .arg(all.subEntities)
                        .arg(all.faces)
                        .arg(all.vertices)
                        .arg(reader->bitmapNames.size()));
    const SceneObject* selected = document_.selectedRecord();
    selection_->setText(selected == nullptr
                            ? QString()
                            : QStringLiteral("Selected: ") + countsText(countsOf(*selected)));
    modified_->setText(document_.isModified() ? QStringLiteral("Modified") : QString());
}

void CStatusLine::showFrameTimes(bool on) {
    frameTimeValue_->clear();
    if (!on) {
        frame_.setFrameTimer(nullptr);
        return;
    }
    frame_.setFrameTimer([this](double milliseconds) {
        frameTimeValue_->setText(QStringLiteral("%1 ms").arg(milliseconds, 0, 'f', 2));
    });
    frame_.render();
}

QString CStatusLine::modelText() const {
    return model_->text();
}

QString CStatusLine::selectionText() const {
    return selection_->text();
}

QString CStatusLine::modifiedText() const {
    return modified_->text();
}

QString CStatusLine::frameTimeText() const {
    return frameTimeValue_->text();
}

}  // namespace y4
