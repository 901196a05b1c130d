// VertexListModel: rows over a shared vertex list.
#include "dialogs/VertexListModel.h"

#include "model/Vertex.h"

namespace y4 {

VertexListModel::VertexListModel(QObject* parent) : QAbstractListModel(parent) {}

void VertexListModel::setVertices(List vertices) {
    beginResetModel();
    vertices_ = std::move(vertices);
    endResetModel();
}

Vertex* VertexListModel::vertexAt(int row) const {
    if (!vertices_ || row < 0 || static_cast<std::size_t>(row) >= vertices_->size()) {
        return nullptr;
    }
    return (*vertices_)[static_cast<std::size_t>(row)];
}

int VertexListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !vertices_ ? 0 : static_cast<int>(vertices_->size());
}

QVariant VertexListModel::data(const QModelIndex& index, int role) const {
    const Vertex* vertex = vertexAt(index.row());
    if (vertex == nullptr || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) {
        return {};
    }
    return QString::fromStdString(vertex->name());
}

}  // namespace y4
