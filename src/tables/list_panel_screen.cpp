#include "tables/list_panel_screen.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QToolBar>
#include <QVBoxLayout>

#include "widgets/widget_text.h"

namespace qov::tables {

ListPanelScreen::ListPanelScreen(ListPanelDescription description, QWidget* parent)
    : QWidget(parent), d_(std::move(description)) {
    setObjectName(ToScreen(d_.objectName));
    setWindowTitle(ToScreen(d_.caption));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        MakeScreenToolbar(this, d_.keys, [this](const std::string& key) { onKey(key); }));

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(ToScreen(d_.listHeading), this));
    list_ = new QListWidget(this);
    list_->setMinimumWidth(d_.listMinWidth);
    connect(list_, &QListWidget::itemClicked, this, [this] { onLine(list_->currentRow()); });
    if (d_.enterOpensLine) {
        // Enter or a double click on the current line; no selection follows the focus alone.
        connect(list_, &QListWidget::itemActivated, this,
                [this](QListWidgetItem* item) { onLine(list_->row(item)); });
    } else {
        connect(list_, &QListWidget::itemDoubleClicked, this,
                [this] { onLine(list_->currentRow()); });
    }
    if (d_.rightClickOpensLine) {
        list_->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list_, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
            if (QListWidgetItem* item = list_->itemAt(at)) {
                list_->setCurrentItem(item);
                onLine(list_->row(item));
            }
        });
    }
    if (d_.escapeInList) {
        list_->installEventFilter(this);
    }
    left->addWidget(list_);
    if (d_.check1Caption != nullptr) {
        check1_ = new QCheckBox(d_.check1Caption, this);
        if (*d_.check1Name != '\0') {
            check1_->setObjectName(d_.check1Name);
        }
        connect(check1_, &QCheckBox::clicked, this, [this](bool checked) {
            takeFields();
            d_.setCheck1(checked);
            showAll();
        });
        left->addWidget(check1_);
    }
    body->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    panel_ = new QGroupBox(ToScreen(d_.panelTitle), this);
    auto* form = new QFormLayout(panel_);
    for (const ListPanelField& field : d_.fields) {
        QWidget* widget = nullptr;
        if (field.flag != nullptr) {
            widget = new QCheckBox(panel_);
        } else {
            auto* edit = new QLineEdit(panel_);
            if (field.maxLength > 0) {
                edit->setMaxLength(field.maxLength);
            }
            if (field.onEnter) {
                connect(edit, &QLineEdit::returnPressed, this, [this, &field] {
                    takeFields();
                    field.onEnter();
                    showAll();
                });
            }
            if (field.onLeave) {
                edit->installEventFilter(this);
            }
            widget = edit;
        }
        if (*field.objectName != '\0') {
            widget->setObjectName(field.objectName);
        }
        if (*field.tip != '\0') {
            widget->setToolTip(field.tip);
        }
        fields_.push_back(widget);
    }
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        form->addRow(d_.fields[i].label, fields_[i]);
    }
    right->addWidget(panel_);
    right->addStretch(1);
    body->addLayout(right, 1);
    layout->addLayout(body);

    d_.open();
    showAll();
}

void ListPanelScreen::changeLanguage() {
    takeFields();
    d_.changeLanguage();
    showAll();
}

void ListPanelScreen::reloadFromTables() {
    takeFields();
    d_.reload();
    showAll();
}

bool ListPanelScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        d_.escapeInList();
        showAll();
        return true;
    }
    if (event->type() == QEvent::FocusOut) {
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            const ListPanelField& field = d_.fields[i];
            if (watched == fields_[i] && field.onLeave) {
                *field.text = FromScreen(static_cast<QLineEdit*>(fields_[i])->text());
                field.onLeave();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ListPanelScreen::closeEvent(QCloseEvent* event) {
    d_.close();
    QWidget::closeEvent(event);
}

void ListPanelScreen::onKey(const std::string& key) {
    takeFields();
    if (d_.onToolbar(key)) {
        CloseScreenWindow(this);
        return;
    }
    showAll();
}

void ListPanelScreen::onLine(int row) {
    if (showing_ || row < 0) {
        return;
    }
    takeFields();
    d_.selectLine(row);
    showAll();
}

void ListPanelScreen::takeFields() {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const ListPanelField& field = d_.fields[i];
        if (field.flag != nullptr) {
            *field.flag = static_cast<QCheckBox*>(fields_[i])->isChecked();
        } else {
            *field.text = FromScreen(static_cast<QLineEdit*>(fields_[i])->text());
        }
    }
}

void ListPanelScreen::showAll() {
    showing_ = true;
    const QSignalBlocker block(list_);
    list_->clear();
    for (const std::string& line : d_.lines()) {
        list_->addItem(ToScreen(line));
    }
    if (d_.selected() >= 0 && d_.selected() < list_->count()) {
        list_->setCurrentRow(d_.selected());
    }
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const ListPanelField& field = d_.fields[i];
        if (field.flag != nullptr) {
            static_cast<QCheckBox*>(fields_[i])->setChecked(*field.flag);
        } else {
            static_cast<QLineEdit*>(fields_[i])->setText(ToScreen(*field.text));
        }
    }
    if (check1_ != nullptr) {
        check1_->setChecked(d_.check1());
    }
    panel_->setVisible(d_.panelVisible());
    // The list and the panel's text fields share the font of the script.
    SetFontFamily(list_, d_.fontName());
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (d_.fields[i].flag == nullptr && d_.fields[i].scriptFont) {
            SetFontFamily(fields_[i], d_.fontName());
        }
    }
    showing_ = false;
}

}  // namespace qov::tables
