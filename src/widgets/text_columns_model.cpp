#include "widgets/text_columns_model.h"

namespace qov {

TextColumnsModel::TextColumnsModel(std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

void TextColumnsModel::setListFont(const QFont& font) {
    if (hasListFont_ && font == listFont_) {
        return;
    }
    listFont_ = font;
    hasListFont_ = true;
    const int rows = rowCount();
    if (rows > 0) {
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1), {Qt::FontRole});
    }
}

void TextColumnsModel::refresh() {
    beginResetModel();
    endResetModel();
}

int TextColumnsModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || columns_.empty()) {
        return 0;
    }
    std::size_t rows = 0;
    for (const Column& c : columns_) {
        rows = std::max(rows, c.lines->size());
    }
    return static_cast<int>(rows);
}

int TextColumnsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TextColumnsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= static_cast<int>(columns_.size())) {
        return {};
    }
    const Column& column = columns_[static_cast<std::size_t>(index.column())];
    switch (role) {
        case Qt::DisplayRole: {
            const auto row = static_cast<std::size_t>(index.row());
            if (row >= column.lines->size()) {
                return {};
            }
            const std::string& line = (*column.lines)[row];
            return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
        }
        case Qt::ToolTipRole:
            return column.tip;
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(column.alignment);
        case Qt::FontRole:
            if (column.listFont && hasListFont_) {
                return listFont_;
            }
            return {};
        default:
            return {};
    }
}

QVariant TextColumnsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(columns_.size())) {
        return {};
    }
    const Column& column = columns_[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) {
        return column.heading;
    }
    if (role == Qt::ToolTipRole) {
        return column.tip;
    }
    return {};
}

}  // namespace qov
