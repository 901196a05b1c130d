// VertexListModel: a list of vertices as the drop-down lists of the Attributes and New Face
// dialogs show them, each entry the vertex's name. The list is shared, not copied, between the
// three lists of a dialog, and a sub-entity of a million vertices costs one pointer each: the
// entries are made only for the rows a view shows.
#pragma once

#include <QAbstractListModel>
#include <memory>
#include <vector>

namespace y4 {

class Vertex;

class VertexListModel : public QAbstractListModel {
    Q_OBJECT

public:
    using List = std::shared_ptr<const std::vector<Vertex*>>;

    explicit VertexListModel(QObject* parent = nullptr);

    // Shows `vertices` (null: none) in place of what was shown.
    void setVertices(List vertices);
    void clear() { setVertices(nullptr); }
    const List& vertices() const { return vertices_; }
    // The vertex of a row; null outside the list.
    Vertex* vertexAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    List vertices_;
};

}  // namespace y4
