// The fiscal screen ("Fiskalni izvestaji"): a thin widget over FiscalForm.
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include <array>

#include "fiscal/fiscal_form.h"
#include "fiscal/fiscal_screens.h"
#include "ui/screen.h"
#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::fiscal {

namespace {

class FiscalScreen : public QWidget, public Screen {
public:
    FiscalScreen(Station& station, QWidget* parent) : QWidget(parent), form_(station) {
        setObjectName(FiscalForm::kFormName);
        setWindowTitle(FiscalForm::kCaption);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(MakeScreenToolbar(
            this,
            {{"dnevni", "Dnevni", "Dnevni izvestaj", QStyle::SP_FileDialogDetailedView},
             {"presek", "Presek", "Presek stanja", QStyle::SP_FileDialogInfoView},
             {"periodicni", "Periodicni", "Periodicni izvestaj", QStyle::SP_FileDialogListView},
             {"racun", "Racun", "Izdavanje racuna", QStyle::SP_DialogApplyButton},
             {"serial", "Identitet", "Citanje serijskog broja, PIB-a i broja fiskalnog modula",
              QStyle::SP_MessageBoxInformation},
             {"fisstate", "Stanje", "Citanje stanja kase", QStyle::SP_BrowserReload},
             {"esci", "Izlaz", "Zatvaranje forme", QStyle::SP_DialogCloseButton}},
            [this](const std::string& key) { onKey(key); }));

        auto* body = new QHBoxLayout;
        auto* left = new QVBoxLayout;
        left->addWidget(makeReports());
        left->addWidget(makeState());
        left->addWidget(makeIdentity());
        left->addStretch();
        body->addLayout(left, 1);
        body->addWidget(makeReceipt());
        layout->addLayout(body, 1);

        form_.fieldsChanged = [this] { showReadFields(); };
        form_.open();
        showAll();
    }

    std::string formName() const override { return FiscalForm::kFormName; }

    // Room for the three groups side by side without scrolling.
    QSize sizeHint() const override { return {920, 600}; }

protected:
    void closeEvent(QCloseEvent* event) override {
        form_.esci();
        QWidget::closeEvent(event);
    }

private:
    QLineEdit* field(const char* name, int width = 0) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        if (width > 0) {
            edit->setFixedWidth(width);
        }
        return edit;
    }

    // A display field: the logic writes it, the user only reads it.
    QLineEdit* shown(const char* name, int width) {
        QLineEdit* edit = field(name, width);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        return edit;
    }

    QPushButton* keyButton(const char* caption, const char* key, QWidget* parent) {
        auto* button = new QPushButton(caption, parent);
        connect(button, &QPushButton::clicked, this, [this, key] { onKey(key); });
        return button;
    }

    QGroupBox* makeReports() {
        auto* box = new QGroupBox("Izvestaji", this);
        auto* grid = new QGridLayout(box);
        grid->addWidget(keyButton("Dnevni izvestaj", "dnevni", box), 0, 0);
        grid->addWidget(keyButton("Presek stanja", "presek", box), 0, 1);
        auto* period = new QFormLayout;
        start_ = field("StartText", 110);
        end_ = field("EndText", 110);
        start_->setPlaceholderText("dd.mm.yyyy");
        end_->setPlaceholderText("dd.mm.yyyy");
        period->addRow("Pocetni datum periodicnog izvestaja", start_);
        period->addRow("Krajnji datum periodicnog izvestaja", end_);
        grid->addLayout(period, 1, 0, 1, 2);
        grid->addWidget(keyButton("Periodicni izvestaj", "periodicni", box), 2, 0);
        grid->setColumnStretch(2, 1);
        return box;
    }

    // A form whose fields keep their own widths instead of filling the box.
    static QFormLayout* compactForm(QGroupBox* box) {
        auto* form = new QFormLayout(box);
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        return form;
    }

    QGroupBox* makeState() {
        auto* box = new QGroupBox("Stanje kase", this);
        QFormLayout* form = compactForm(box);
        meny_ = shown("MENY", 50);
        stanje_ = shown("STANJE", 50);
        brplu_ = shown("BRPLU", 80);
        lerr_ = shown("LERR", 50);
        lerrText_ = shown("LERRTEXT", 320);
        form->addRow("Pozicija menija", meny_);
        form->addRow("Radno stanje", stanje_);
        form->addRow("Broj artikala", brplu_);
        form->addRow("Poslednja greska", lerr_);
        form->addRow("Opis greske", lerrText_);
        form->addRow("", keyButton("Procitaj stanje", "fisstate", box));
        return box;
    }

    QGroupBox* makeIdentity() {
        auto* box = new QGroupBox("Identitet kase", this);
        QFormLayout* form = compactForm(box);
        ser_ = shown("SER", 100);
        pib_ = shown("PIB", 120);
        ibfm_ = shown("IBFM", 120);
        form->addRow("Serijski broj", ser_);
        form->addRow("PIB", pib_);
        form->addRow("Broj fiskalnog modula", ibfm_);
        form->addRow("", keyButton("Procitaj identitet", "serial", box));
        return box;
    }

    QGroupBox* makeReceipt() {
        auto* box = new QGroupBox("Racun", this);
        auto* grid = new QGridLayout(box);
        grid->addWidget(new QLabel("Sifra artikla", box), 0, 1);
        grid->addWidget(new QLabel("Kolicina", box), 0, 2);
        for (int i = 0; i < FiscalForm::kLines; ++i) {
            const auto n = static_cast<std::size_t>(i);
            grid->addWidget(new QLabel(QString("Artikal %1").arg(i + 1), box), i + 1, 0);
            code_[n] = field(qPrintable(QString("Artikal%1").arg(i)), 150);
            quantity_[n] = field(qPrintable(QString("Kolicina%1").arg(i)), 90);
            quantity_[n]->setAlignment(Qt::AlignRight);
            grid->addWidget(code_[n], i + 1, 1);
            grid->addWidget(quantity_[n], i + 1, 2);
        }
        int row = FiscalForm::kLines + 1;
        grid->setRowMinimumHeight(row++, 12);
        grid->addWidget(new QLabel("Iznos", box), row++, 2);
        cek_ = field("Cek", 90);
        kartica_ = field("Kartica", 90);
        gotovina_ = field("Gotovina", 90);
        for (auto [caption, edit] : {std::pair{"Cek", cek_}, std::pair{"Kartica", kartica_},
                                     std::pair{"Gotovina", gotovina_}}) {
            edit->setAlignment(Qt::AlignRight);
            grid->addWidget(new QLabel(caption, box), row, 0);
            grid->addWidget(edit, row++, 2);
        }
        grid->addWidget(keyButton("Izdaj racun", "racun", box), row++, 1, 1, 2);
        grid->setRowStretch(row, 1);
        return box;
    }

    void onKey(const std::string& key) {
        takeFields();
        if (form_.onToolbar(key)) {
            CloseScreenWindow(this);
            return;
        }
        showAll();
    }

    void takeFields() {
        for (std::size_t i = 0; i < code_.size(); ++i) {
            form_.Artikal[i] = FromScreen(code_[i]->text());
            form_.Kolicina[i] = FromScreen(quantity_[i]->text());
        }
        form_.Cek = FromScreen(cek_->text());
        form_.Kartica = FromScreen(kartica_->text());
        form_.Gotovina = FromScreen(gotovina_->text());
        form_.StartText = FromScreen(start_->text());
        form_.EndText = FromScreen(end_->text());
    }

    void showAll() {
        for (std::size_t i = 0; i < code_.size(); ++i) {
            code_[i]->setText(ToScreen(form_.Artikal[i]));
            quantity_[i]->setText(ToScreen(form_.Kolicina[i]));
        }
        cek_->setText(ToScreen(form_.Cek));
        kartica_->setText(ToScreen(form_.Kartica));
        gotovina_->setText(ToScreen(form_.Gotovina));
        start_->setText(ToScreen(form_.StartText));
        end_->setText(ToScreen(form_.EndText));
        showReadFields();
    }

    // The fields the register's replies fill: state and identity.
    void showReadFields() {
        meny_->setText(ToScreen(form_.MENY));
        lerr_->setText(ToScreen(form_.LERR));
        lerrText_->setText(ToScreen(form_.LERRTEXT));
        stanje_->setText(ToScreen(form_.STANJE));
        brplu_->setText(ToScreen(form_.BRPLU));
        ser_->setText(ToScreen(form_.SER));
        pib_->setText(ToScreen(form_.PIB));
        ibfm_->setText(ToScreen(form_.IBFM));
    }

    FiscalForm form_;
    std::array<QLineEdit*, FiscalForm::kLines> code_{};
    std::array<QLineEdit*, FiscalForm::kLines> quantity_{};
    QLineEdit* cek_ = nullptr;
    QLineEdit* kartica_ = nullptr;
    QLineEdit* gotovina_ = nullptr;
    QLineEdit* start_ = nullptr;
    QLineEdit* end_ = nullptr;
    QLineEdit* meny_ = nullptr;
    QLineEdit* lerr_ = nullptr;
    QLineEdit* lerrText_ = nullptr;
    QLineEdit* stanje_ = nullptr;
    QLineEdit* brplu_ = nullptr;
    QLineEdit* ser_ = nullptr;
    QLineEdit* pib_ = nullptr;
    QLineEdit* ibfm_ = nullptr;
};

}  // namespace

QWidget* CreateFiscalScreen(Station& station, QWidget* parent) {
    return new FiscalScreen(station, parent);
}

}  // namespace qov::fiscal
