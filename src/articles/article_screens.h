#pragma once

class QWidget;

namespace qov {
struct Station;
}

namespace qov::articles {

// The article screens for the main window. Each widget derives from QWidget and qov::Screen
// and writes its name into CurrentForm as it opens.
QWidget* CreateArticleEditorScreen(Station& station, QWidget* parent = nullptr);  // "Artikli"
QWidget* CreateReceivedArticlesScreen(Station& station, QWidget* parent = nullptr);
QWidget* CreateSoldArticlesScreen(Station& station, QWidget* parent = nullptr);

}  // namespace qov::articles
