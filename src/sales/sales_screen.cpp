// The sales views: thin widgets over SalesList and VatSales.
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <memory>

#include "sales/sales_screens.h"
#include "sales/sales_views.h"
#include "ui/screen.h"
#include "widgets/text_columns_model.h"
#include "widgets/widget_text.h"

namespace qov::sales {

namespace {

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* heading = new QLabel(text, parent);
    QFont big = heading->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    heading->setFont(big);
    return heading;
}

// "Prodaja po odeljenjima" and "Prodaja kasira": the lists side by side as the columns of one
// table, so that a row clicked in the names is the same row in every list and they scroll
// together.
class SalesListScreen : public QWidget, public Screen {
public:
    SalesListScreen(Station& station, SalesList::Kind kind, QWidget* parent)
        : QWidget(parent), view_(station, kind) {
        setObjectName(ToScreen(view_.formName()));
        setWindowTitle(ToScreen(view_.caption()));
        setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
        view_.open();

        std::vector<TextColumnsModel::Column> columns;
        for (const SalesColumn& c : view_.columns()) {
            columns.push_back(
                {QString::fromLatin1(c.heading), QString::fromLatin1(c.tip), &c.rows,
                 c.number ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter,
                 !c.number});
        }
        model_ = new TextColumnsModel(std::move(columns), this);
        table_ = new QTableView(this);
        table_->setObjectName("lstplu");
        table_->setModel(model_);
        table_->setSelectionBehavior(QAbstractItemView::SelectRows);
        table_->setSelectionMode(QAbstractItemView::SingleSelection);
        table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table_->setShowGrid(false);
        table_->setWordWrap(false);
        table_->setAlternatingRowColors(true);
        table_->verticalHeader()->hide();
        table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        connect(table_, &QTableView::clicked, this, [this](const QModelIndex& index) {
            view_.lstplu_Click(index.row());
            showSelection();
        });

        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(12, 10, 12, 12);
        layout->addWidget(Heading(ToScreen(view_.heading()), this));
        layout->addWidget(table_, 1);
        showRows();
    }

    std::string formName() const override { return view_.formName(); }

    void changeLanguage() override {
        view_.DoChangeLang();
        showRows();
    }

    QSize sizeHint() const override {
        const int rows = std::min(model_->rowCount(), 16);
        return {table_->horizontalHeader()->length() + 40,
                table_->horizontalHeader()->height() + rows * table_->rowHeight(0) + 90};
    }

private:
    void showRows() {
        QFont listFont = table_->font();
        const std::string& family = view_.fontName();
        if (!family.empty() && family != " ") {
            listFont.setFamily(ToScreen(family));
        }
        model_->setListFont(listFont);
        model_->refresh();
        table_->resizeColumnsToContents();
        // Number columns at least as wide as a large sum, so that they line up from screen to
        // screen; the names as wide as their longest row.
        const int number =
            table_->fontMetrics().horizontalAdvance(QStringLiteral("9999999.99")) + 24;
        for (int column = 1; column < model_->columnCount(); ++column) {
            table_->setColumnWidth(column, std::max(table_->columnWidth(column), number));
        }
        table_->resizeRowsToContents();
        showSelection();
    }

    void showSelection() {
        const int row = view_.selectedRow();
        if (row < 0) {
            table_->clearSelection();
            return;
        }
        table_->selectRow(row);
        table_->scrollTo(model_->index(row, 0));
    }

    SalesList view_;
    TextColumnsModel* model_ = nullptr;
    QTableView* table_ = nullptr;
};

// "Prodaja po stopama": the nine rates with their sales, the total and the bar chart.
class VatSalesScreen : public QWidget, public Screen {
public:
    VatSalesScreen(Station& station, QWidget* parent) : QWidget(parent), view_(station) {
        setObjectName("frmVATSales");
        setWindowTitle(VatSales::kCaption);
        setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
        view_.open();

        auto* rates = new QGroupBox("Poreske stope", this);
        auto* grid = new QGridLayout(rates);
        grid->addWidget(new QLabel("Stopa", rates), 0, 0);
        grid->addWidget(new QLabel("Procenat", rates), 0, 1);
        grid->addWidget(new QLabel("Vrednost prodaje", rates), 0, 2);
        const auto field = [rates](const std::string& text, const QString& name, int width) {
            auto* edit = new QLineEdit(ToScreen(text), rates);
            edit->setObjectName(name);
            edit->setReadOnly(true);
            edit->setAlignment(Qt::AlignRight);
            edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(width, '9')) + 16);
            return edit;
        };
        for (int r = 0; r < VatSales::kRates; ++r) {
            const VatSalesRow& row = view_.rows()[static_cast<std::size_t>(r)];
            QLineEdit* number = field(row.VATnum, QString("VATnum_%1").arg(r), 3);
            number->setAlignment(Qt::AlignCenter);
            grid->addWidget(number, r + 1, 0);
            grid->addWidget(field(row.PERC, QString("PERC_%1").arg(r), 6), r + 1, 1);
            grid->addWidget(field(row.value, QString("value_%1").arg(r), 12), r + 1, 2);
        }
        auto* totalLabel = new QLabel(VatSales::kTotalLabel, rates);
        QFont bold = totalLabel->font();
        bold.setBold(true);
        totalLabel->setFont(bold);
        QLineEdit* total = field(view_.total(), "value_9", 12);
        total->setToolTip(VatSales::kTotalTip);
        total->setFont(bold);
        grid->addWidget(totalLabel, VatSales::kRates + 1, 0, 1, 2, Qt::AlignRight);
        grid->addWidget(total, VatSales::kRates + 1, 2);
        grid->setRowStretch(VatSales::kRates + 2, 1);
        rates->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(12, 10, 12, 12);
        layout->addWidget(rates, 0, Qt::AlignTop);
        layout->addWidget(makeChart(), 1);
    }

    std::string formName() const override { return "ne"; }
    QSize sizeHint() const override { return {940, 460}; }

private:
    QChartView* makeChart() {
        auto* set = new QBarSet("Vrednost prodaje");
        QStringList labels;
        double highest = 0;
        for (int r = 0; r < VatSales::kRates; ++r) {
            const double value = view_.chartValues()[static_cast<std::size_t>(r)];
            set->append(value);
            labels << ToScreen(VatSales::chartLabel(r));
            highest = std::max(highest, value);
        }
        set->setColor(QColor(0x2E, 0x6D, 0xA4));
        set->setLabelColor(palette().color(QPalette::WindowText));
        auto* series = new QBarSeries;
        series->append(set);
        // The values over the bars, unless every bar is empty.
        series->setLabelsVisible(highest > 0);
        series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
        series->setLabelsFormat("@value");
        series->setLabelsPrecision(12);

        auto* chart = new QChart;
        chart->addSeries(series);
        chart->legend()->hide();
        chart->setTitle("Prodaja po poreskim stopama");
        chart->setAnimationOptions(QChart::NoAnimation);
        auto* categories = new QBarCategoryAxis;
        categories->append(labels);
        chart->addAxis(categories, Qt::AlignBottom);
        series->attachAxis(categories);
        auto* values = new QValueAxis;
        values->setMin(0);
        values->setMax(highest > 0 ? highest * 1.15 : 1);
        values->applyNiceNumbers();
        values->setLabelFormat(highest >= 100 ? "%.0f" : "%.2f");
        chart->addAxis(values, Qt::AlignLeft);
        series->attachAxis(values);

        auto* view = new QChartView(chart, this);
        view->setObjectName("MSChart1");
        view->setRenderHint(QPainter::Antialiasing);
        // Room for the nine labels under the bars, each whole, besides the value axis.
        const QFontMetrics labelSize(categories->labelsFont());
        view->setMinimumSize(
            9 * (labelSize.horizontalAdvance(QStringLiteral("Stopa 0")) + 20) + 140, 340);
        return view;
    }

    VatSales view_;
};

}  // namespace

QWidget* CreateDepartmentSalesScreen(Station& station, QWidget* parent) {
    return new SalesListScreen(station, SalesList::Kind::Departments, parent);
}

QWidget* CreateOperatorSalesScreen(Station& station, QWidget* parent) {
    return new SalesListScreen(station, SalesList::Kind::Operators, parent);
}

QWidget* CreateVatSalesScreen(Station& station, QWidget* parent) {
    return new VatSalesScreen(station, parent);
}

}  // namespace qov::sales
