// The twin screens of the receipt header ("Zaglavlje") and the advertisement ("Reklamna
// poruka"): a thin widget over PrintLinesEditor.
#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QLineEdit>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidget>

#include <array>

#include "settings/print_lines.h"
#include "settings/settings_screens.h"
#include "ui/screen.h"
#include "widgets/screen_toolbar.h"
#include "widgets/widget_text.h"

namespace qov::settings {

namespace {

class PrintLinesScreen : public QWidget, public Screen {
public:
    PrintLinesScreen(Station& station, const PrintLinesKind& kind, QWidget* parent)
        : QWidget(parent), editor_(station, kind) {
        setObjectName(kind.formName);
        setWindowTitle(kind.caption);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(MakeScreenToolbar(
            this,
            {{"Bold", "Podebljano", "Bold", QStyle::SP_TitleBarShadeButton},
             {"Center", "Centrirano", "Center", QStyle::SP_ToolBarHorizontalExtensionButton},
             {"Align Left", "Uz levu ivicu", "Align Left", QStyle::SP_ArrowLeft},
             {"Aggiorna", "Sacuvaj", "Memorisanje podataka", QStyle::SP_DialogSaveButton},
             {"Annulla", "Izlaz", "Zatvaranje forme", QStyle::SP_DialogCloseButton}},
            [this](const std::string& key) { onKey(key); }));

        auto* box = new QGroupBox(this);
        auto* form = new QVBoxLayout(box);
        for (int i = 0; i < kPrintLineCount; ++i) {
            auto* field = new QLineEdit(box);
            field->setObjectName(QString("rtftext%1").arg(i));
            field->setToolTip(kind.tooltips[static_cast<std::size_t>(i)]);
            field->installEventFilter(this);
            form->addWidget(field);
            fields_[static_cast<std::size_t>(i)] = field;
        }
        layout->addWidget(box);
        layout->addStretch(1);

        editor_.open();
        showAll();
    }

    QSize sizeHint() const override { return {620, 340}; }

    std::string formName() const override { return editor_.kind().formName; }

    void changeLanguage() override {
        takeFields();
        editor_.DoChangeLang();
        showAll();
    }

    void reloadFromTables() override {
        takeFields();
        editor_.reload();
        showAll();
    }

    void lineWidthChanged() override {
        takeFields();
        editor_.lineWidthChanged();
        showAll();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            for (int i = 0; i < kPrintLineCount; ++i) {
                if (watched == fields_[static_cast<std::size_t>(i)]) {
                    editor_.setFocused(i);
                }
            }
        }
        return QWidget::eventFilter(watched, event);
    }

private:
    void onKey(const std::string& key) {
        takeFields();
        if (editor_.onToolbar(key)) {
            CloseScreenWindow(this);
            return;
        }
        showAll();
        // The marks give the focus back to the line they changed.
        fields_[static_cast<std::size_t>(editor_.focused())]->setFocus();
    }

    void takeFields() {
        for (int i = 0; i < kPrintLineCount; ++i) {
            editor_.fields[static_cast<std::size_t>(i)].text =
                FromScreen(fields_[static_cast<std::size_t>(i)]->text());
        }
    }

    void showAll() {
        const int width = static_cast<int>(editor_.maxLength());
        for (int i = 0; i < kPrintLineCount; ++i) {
            QLineEdit* field = fields_[static_cast<std::size_t>(i)];
            const LineField& line = editor_.fields[static_cast<std::size_t>(i)];
            field->setMaxLength(width);
            field->setText(ToScreen(line.text));
            field->setAlignment(line.centre ? Qt::AlignHCenter : Qt::AlignLeft);
            QFont font = field->font();
            font.setBold(line.bold);
            font.setPointSize(line.fontSize());
            field->setFont(font);
            SetFontFamily(field, editor_.fontName());
        }
    }

    PrintLinesEditor editor_;
    std::array<QLineEdit*, kPrintLineCount> fields_{};
};

}  // namespace

QWidget* CreateHeaderScreen(Station& station, QWidget* parent) {
    return new PrintLinesScreen(station, kHeaderKind, parent);
}

QWidget* CreateAdvertScreen(Station& station, QWidget* parent) {
    return new PrintLinesScreen(station, kAdvertKind, parent);
}

}  // namespace qov::settings
