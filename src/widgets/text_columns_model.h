#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QString>

#include <string>
#include <vector>

namespace qov {

// Side-by-side list columns of a screen (code and name, price, stock ...) as one table model:
// each column shows the lines a screen's logic keeps, row by row, so the columns stay aligned
// and scroll together whatever their length. Texts are Latin-1 bytes. The model reads the
// logic's vectors directly; call refresh() after the logic changed them.
class TextColumnsModel : public QAbstractTableModel {
public:
    struct Column {
        QString heading;
        QString tip;
        const std::vector<std::string>* lines;
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        bool listFont = false;  // shown in the list font (the code and name column)
    };

    explicit TextColumnsModel(std::vector<Column> columns, QObject* parent = nullptr);

    // The font of the columns marked `listFont`.
    void setListFont(const QFont& font);
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<Column> columns_;
    QFont listFont_;
    bool hasListFont_ = false;
};

}  // namespace qov
