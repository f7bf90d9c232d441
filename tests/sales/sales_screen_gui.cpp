// The sales views' widgets: the department list's rows and click, the VAT chart's nine bars.

#include <gtest/gtest.h>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QLineEdit>
#include <QTableView>

#include "sales/sales_screens.h"
#include "support/fake_station.h"

namespace qov::sales {
namespace {

struct SalesGui : ::testing::Test, test::FakeStation {
    SalesGui() {
        FillDefaultTables(state);
        state.CyrillicMode = false;
    }
};

TEST_F(SalesGui, DepartmentRowsSideBySideAndAClickSelectsTheWholeRow) {
    state.DepartmentTable[3] = {"PICE", "", "0", "0", "150075", "12500"};
    std::unique_ptr<QWidget> screen(CreateDepartmentSalesScreen(station));
    EXPECT_EQ(screen->windowTitle(), "Prodaja po odeljenjima");
    auto* table = screen->findChild<QTableView*>("lstplu");
    QAbstractItemModel* model = table->model();
    ASSERT_EQ(model->rowCount(), 10);
    ASSERT_EQ(model->columnCount(), 3);
    const auto cell = [model](int row, int column) {
        return model->index(row, column).data().toString().toStdString();
    };
    EXPECT_EQ(cell(2, 0) + "|" + cell(2, 1) + "|" + cell(2, 2), " 3  PICE        |12.5|1500.75");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Kolicina");
    emit table->clicked(model->index(4, 0));
    const QModelIndexList selected = table->selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), 3);
    for (const QModelIndex& index : selected) {
        EXPECT_EQ(index.row(), 4);
    }
}

TEST_F(SalesGui, TheVatChartHoldsNineBarsWithTheValues) {
    const char* values[] = {"1500.75", "0", "250", "0", "0", "0", "0", "0", "12.5"};
    for (std::size_t r = 0; r < 9; ++r) {
        state.VatTable[r] = {"2000", values[r]};
    }
    for (const bool allZero : {false, true}) {
        if (allZero) {
            for (std::size_t r = 0; r < 9; ++r) {
                state.VatTable[r].salesTotal = "0";
            }
        }
        std::unique_ptr<QWidget> screen(CreateVatSalesScreen(station));
        EXPECT_EQ(screen->windowTitle(), "Prodaja po stopama");
        auto* series = qobject_cast<QBarSeries*>(
            screen->findChild<QChartView*>("MSChart1")->chart()->series().at(0));
        ASSERT_EQ(series->barSets().size(), 1);
        QList<qreal> bars;
        for (int i = 0; i < series->barSets()[0]->count(); ++i) {
            bars << series->barSets()[0]->at(i);
        }
        EXPECT_EQ(bars, allZero ? QList<qreal>(9, 0)
                                : QList<qreal>({1500.75, 0, 250, 0, 0, 0, 0, 0, 12.5}));
        EXPECT_EQ(series->isLabelsVisible(), !allZero);
        auto* axis = qobject_cast<QBarCategoryAxis*>(series->attachedAxes().at(0));
        ASSERT_NE(axis, nullptr);
        EXPECT_EQ(axis->categories().front(), "Stopa 0");
        EXPECT_EQ(axis->categories().back(), "Stopa 8");
        EXPECT_EQ(axis->count(), 9);
        EXPECT_EQ(screen->findChild<QLineEdit*>("value_9")->text(), allZero ? "0" : "1763.25");
        EXPECT_EQ(screen->findChild<QLineEdit*>("PERC_0")->text(), "20%");
    }
}

}  // namespace
}  // namespace qov::sales
