// The transmit ("Slanje") and receive ("Prijem") screens: a thin widget over TransferRun.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <array>
#include <utility>

#include "backup/backup_screen.h"
#include "tables/transfer_run.h"
#include "tables/transfer_screens.h"
#include "ui/screen.h"
#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::tables {

namespace {

class TransferScreen : public QWidget, public Screen {
public:
    TransferScreen(Station& station, TransferDirection direction, QWidget* parent)
        : QWidget(parent), run_(station, direction) {
        setObjectName(ToScreen(run_.formName()));
        setWindowTitle(ToScreen(run_.caption()));

        auto* layout = new QVBoxLayout(this);
        std::vector<ToolbarKey> keys{{"invia", "Posalji", "", QStyle::SP_ArrowForward}};
        if (direction == TransferDirection::Receive) {
            keys.push_back({"delete", "Brisanje artikala", "", QStyle::SP_TrashIcon});
            keys.push_back({"erase", "Brisanje prodaje", "", QStyle::SP_DialogDiscardButton});
        }
        keys.push_back({"esci", "Izlaz", "", QStyle::SP_DialogCloseButton});
        layout->addWidget(
            MakeScreenToolbar(this, keys, [this](const std::string& key) { onKey(key); }));

        layout->addWidget(new QLabel(ToScreen(run_.listTitle()), this));
        list_ = new QListWidget(this);
        list_->setSelectionMode(QAbstractItemView::MultiSelection);
        // Every line keeps room for its result mark, so lines do not jump when marks show.
        list_->setIconSize(QSize(16, 16));
        QPixmap blank(16, 16);
        blank.fill(Qt::transparent);
        noMark_ = QIcon(blank);
        for (const TransferEntry& entry : run_.entries()) {
            list_->addItem(new QListWidgetItem(noMark_, ToScreen(entry.text)));
        }
        list_->setMinimumHeight(list_->sizeHintForRow(0) * list_->count() +
                                2 * list_->frameWidth() + 4);
        list_->installEventFilter(this);
        layout->addWidget(list_);

        auto* progressRow = new QGridLayout;
        caption_ = new QLabel(this);
        counter_ = new QLabel(this);
        if (direction == TransferDirection::Receive) {
            counter_->setToolTip("Broj zadnjeg primljenog podatka");
        }
        progressRow->addWidget(caption_, 0, 0);
        progressRow->addWidget(counter_, 0, 1);
        // Records done of the known total, and "Prekini", enabled while a run goes.
        bar_ = new QProgressBar(this);
        bar_->setRange(0, 1);
        bar_->setValue(0);
        stop_ = new QPushButton("Prekini", this);
        stop_->setEnabled(false);
        connect(stop_, &QPushButton::clicked, this, [this] { run_.cancel(); });
        progressRow->addWidget(bar_, 1, 0);
        progressRow->addWidget(stop_, 1, 1);
        note_ = new QLabel(this);
        progressRow->addWidget(note_, 2, 0, 1, 2);
        layout->addLayout(progressRow);

        if (direction == TransferDirection::Receive) {
            auto* buttons = new QGridLayout;
            const std::array<std::pair<const char*, const char*>, 2> operations{
                {{"Brisanje Artikala", "delete"}, {"Brisanje Prodaje", "erase"}}};
            for (int i = 0; i < 2; ++i) {
                auto* button = new QPushButton(operations[i].first, this);
                const std::string key = operations[i].second;
                connect(button, &QPushButton::clicked, this, [this, key] { onKey(key); });
                buttons->addWidget(button, 0, i);
            }
            layout->addLayout(buttons);
        }

        if (direction == TransferDirection::Transmit) {
            // Off by default: the register is read into a backup folder before the first
            // table is sent.
            auto* backup = new QCheckBox("Rezervna kopija pre slanja", this);
            backup->setObjectName("chkBackup");
            connect(backup, &QCheckBox::toggled, this, [this, &station](bool on) {
                run_.beforeSend = on ? backup::BackupBeforeSend(station) : nullptr;
            });
            layout->addWidget(backup);

            panel_ = new QWidget(this);
            auto* grid = new QGridLayout(panel_);
            const std::array<const char*, 3> labels{"Red 1:", "Red 2:", "Red 3:"};
            const std::array<const char*, 3> tips{"Prvi red poruke", "Drugi red poruke",
                                                  "Treci red poruke"};
            for (int i = 0; i < 3; ++i) {
                grid->addWidget(new QLabel(labels[i], panel_), i, 0);
                lines_[i] = new QLineEdit(panel_);
                lines_[i]->setObjectName(QString("Red%1").arg(i + 1));
                lines_[i]->setToolTip(tips[i]);
                grid->addWidget(lines_[i], i, 1);
            }
            layout->addWidget(panel_);
        }

        run_.progress().changed = [this] { showProgress(); };
        run_.open();
        lineWidthChanged();
        showLines();
    }

    std::string formName() const override {
        return run_.direction() == TransferDirection::Transmit ? "frmtrasm" : "ne";
    }

    void changeLanguage() override {
        takeLines();
        run_.DoChangeLang();
        showLines();
    }

    void lineWidthChanged() override {
        for (QLineEdit* line : lines_) {
            if (line != nullptr) {
                line->setMaxLength(run_.messageLineLength());
            }
        }
        takeLines();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == list_ && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && panel_ != nullptr) {
            run_.setMessagePanelVisible(false);
            panel_->setVisible(false);
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }

private:
    void onKey(const std::string& key) {
        for (int i = 0; i < list_->count(); ++i) {
            run_.setSelected(i, list_->item(i)->isSelected());
        }
        takeLines();
        const bool closes = run_.onToolbar(key);
        showLines();
        showProgress();
        if (closes) {
            CloseScreenWindow(this);
        }
    }

    void takeLines() {
        for (int i = 0; i < 3; ++i) {
            if (lines_[i] != nullptr) {
                run_.setMessageLine(i, FromScreen(lines_[i]->text()));
            }
        }
    }

    void showLines() {
        for (int i = 0; i < 3; ++i) {
            if (lines_[i] != nullptr) {
                SetFontFamily(lines_[i], run_.messageFont());
                lines_[i]->setText(ToScreen(run_.messageLines()[i]));
            }
        }
    }

    void showProgress() {
        const TransferProgress& progress = run_.progress();
        caption_->setText(ToScreen(progress.caption()));
        counter_->setText(ToScreen(progress.counter()));
        bar_->setRange(0, std::max(progress.total(), 1));
        bar_->setValue(std::min(progress.done(), std::max(progress.total(), 1)));
        stop_->setEnabled(run_.running());
        note_->setText(ToScreen(run_.cancelNote()));
        for (int i = 0; i < list_->count(); ++i) {
            QIcon icon = noMark_;
            switch (run_.mark(i)) {
                case TransferMark::Success:
                    icon = style()->standardIcon(QStyle::SP_DialogApplyButton);
                    break;
                case TransferMark::Failure:
                    icon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
                    break;
                case TransferMark::None:
                    break;
            }
            list_->item(i)->setIcon(icon);
        }
    }

    TransferRun run_;
    QListWidget* list_ = nullptr;
    QIcon noMark_;
    QLabel* caption_ = nullptr;
    QLabel* counter_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* stop_ = nullptr;
    QLabel* note_ = nullptr;
    QWidget* panel_ = nullptr;
    std::array<QLineEdit*, 3> lines_{};
};

}  // namespace

QWidget* CreateTransmitScreen(Station& station, QWidget* parent) {
    return new TransferScreen(station, TransferDirection::Transmit, parent);
}

QWidget* CreateReceiveScreen(Station& station, QWidget* parent) {
    return new TransferScreen(station, TransferDirection::Receive, parent);
}

}  // namespace qov::tables
