// qovcom: the desktop station.

#include <QApplication>
#include <QEventLoop>

#include "app/database.h"
#include "app/ini_file.h"
#include "app/settings.h"
#include "app/shared_state.h"
#include "app/user_store.h"
#include "articles/article_screens.h"
#include "backup/backup_screen.h"
#include "dumps/dump_screen.h"
#include "fiscal/fiscal_screens.h"
#include "fiscal/keyboard_screen.h"
#include "fiscal/logo_screen.h"
#include "link/link_calls.h"
#include "link/qovdll_link.h"
#include "link/station.h"
#include "sales/sales_screens.h"
#include "settings/settings_screens.h"
#include "tables/transfer_screens.h"
#include "ui/display_font.h"
#include "ui/main_window.h"
#include "ui/qt_desktop.h"
#include "ui/qt_dialogs.h"
#include "ui/startup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("QovCom");
    QApplication::setOrganizationName("QovCom");
    QApplication::setStyle("Fusion");

    // The desktop entry qovcom.desktop: its icon and name go with the window.
    QGuiApplication::setDesktopFileName("qovcom");
    const std::string appFolder = qov::AppFolder();
    qov::LoadDisplayFont(appFolder);

    qov::SharedState state;
    qov::QtDialogs dialogs;
    qov::QtUserStore userStore;
    qov::QtDesktop desktop;

    // Settings file and the first-start font offer, before the main window.
    const auto settings = qov::StartUp(state, userStore, dialogs, desktop, appFolder);

    const qov::IniFile ini(settings->path());
    const auto link = qov::makeQovDllLink(ini, appFolder);
    // While a call waits for the register the window repaints, but takes no input.
    link->setIdleHook([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    qov::LinkCalls calls(state, *link);
    const auto database = qov::CreateSqlDatabase();
    qov::Station station{state, dialogs, calls, *database, userStore};

    qov::MainWindow window(station, desktop, appFolder);
    // The screens of the navigation entries (group, entry); "Konekcija" is the window's own.
    window.registerScreen(1, 2,
                          [&station] { return qov::tables::CreateDepartmentsScreen(station); });
    window.registerScreen(1, 3,
                          [&station] { return qov::articles::CreateArticleEditorScreen(station); });
    window.registerScreen(1, 4, [&station] { return qov::tables::CreateOperatorsScreen(station); });
    window.registerScreen(1, 1, [&station] { return qov::settings::CreateHeaderScreen(station); });
    window.registerScreen(1, 5, [&station] { return qov::settings::CreateSystemScreen(station); });
    window.registerScreen(1, 7, [&station] { return qov::settings::CreateAdvertScreen(station); });
    window.registerScreen(1, 10,
                          [&station] { return qov::settings::CreateFunctionsScreen(station); });
    window.registerScreen(1, 6,
                          [&station] { return qov::tables::CreateCurrenciesScreen(station); });
    window.registerScreen(1, 8, [&station] { return qov::tables::CreateUnitsScreen(station); });
    window.registerScreen(1, 9,
                          [&station] { return qov::tables::CreateArticleTypesScreen(station); });
    window.registerScreen(
        3, 1, [&station] { return qov::articles::CreateReceivedArticlesScreen(station); });
    window.registerScreen(3, 2,
                          [&station] { return qov::articles::CreateSoldArticlesScreen(station); });
    window.registerScreen(2, 4, [&station] { return qov::tables::CreateTransmitScreen(station); });
    window.registerScreen(2, 5, [&station] { return qov::tables::CreateReceiveScreen(station); });
    window.registerScreen(2, 8, [&station] { return qov::fiscal::CreateKeyboardScreen(station); });
    window.registerScreen(2, 9, [&station] { return qov::fiscal::CreateFiscalScreen(station); });
    window.registerScreen(2, 6, [&station, &appFolder] {
        return qov::dumps::CreateDumpScreen(station, qov::dumps::MemoryKind::Fiscal, appFolder);
    });
    window.registerScreen(2, 7, [&station, &appFolder] {
        return qov::dumps::CreateDumpScreen(station, qov::dumps::MemoryKind::Program, appFolder);
    });
    window.registerScreen(3, 3,
                          [&station] { return qov::sales::CreateDepartmentSalesScreen(station); });
    window.registerScreen(3, 4,
                          [&station] { return qov::sales::CreateOperatorSalesScreen(station); });
    window.registerScreen(3, 5, [&station] { return qov::sales::CreateVatSalesScreen(station); });
    window.registerScreen(2, 3, [&station, &window] {
        return qov::fiscal::CreateGraphicLogoScreen(
            station,
            [&window](QWidget* picture, QWidget* beside) { window.openBeside(picture, beside); });
    });
    window.registerLogoPicture(
        [&station] { return qov::fiscal::CreateLogoPictureScreen(station); });
    window.registerBackup([&station, &window] { qov::backup::RunBackupWindow(station, &window); });
    dialogs.setParent(&window);
    window.load(settings.get());
    window.show();
    window.logic().afterShown();
    return QApplication::exec();
}
