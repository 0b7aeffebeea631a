// The yardstick for the program's start: one top-level window with the same number (29) and kinds
// of children, plain Qt widgets at about the same places, shown the same size. Nothing else: no
// translations, no settings, no pictures, no menus.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QWidget>

namespace {

template<class W>
W* Add(QWidget* parent, int x, int y, int w, int h)
{
    auto* widget = new W(parent);
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLabel* Label(QWidget* parent, const QString& text, int x, int y, int w, int h)
{
    auto* label = Add<QLabel>(parent, x, y, w, h);
    label->setText(text);
    return label;
}

QPushButton* Button(QWidget* parent, const QString& text, int x, int y, int w, int h)
{
    auto* button = Add<QPushButton>(parent, x, y, w, h);
    button->setText(text);
    return button;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kalvo_startup_minimal"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal Widgets"));

    // The calculator part: 16 children.
    Label(&window, QStringLiteral("%"), 127, 10, 19, 19);
    Label(&window, QStringLiteral("Netto"), 12, 42, 33, 16);
    Label(&window, QStringLiteral("MwSt."), 6, 72, 39, 16);
    Label(&window, QStringLiteral("EUR"), 170, 72, 34, 16);
    Label(&window, QStringLiteral("Brutto"), 7, 102, 38, 16);
    Label(&window, QStringLiteral("EUR"), 170, 42, 34, 16);
    Label(&window, QStringLiteral("EUR"), 170, 102, 34, 16);
    Add<QFrame>(&window, 2, 7, 49, 25)->setFrameShape(QFrame::Box);
    Label(&window, QStringLiteral("D"), 10, 12, 33, 15);
    Button(&window, QStringLiteral(">"), 194, 118, 13, 13);
    Label(&window, QString(), 54, 12, 24, 15);
    Button(&window, QStringLiteral("<"), 334, 116, 13, 13)->hide();
    Button(&window, QStringLiteral("+"), 172, 6, 29, 25)->setEnabled(false);
    Add<QLineEdit>(&window, 80, 7, 45, 24)->setText(QStringLiteral("19,0"));
    Button(&window, QStringLiteral("^"), 147, 7, 20, 24);
    Add<QPlainTextEdit>(&window, 10, 164, 335, 29)->setFocusPolicy(Qt::NoFocus);

    // The side panel: a tab widget with three pages, 10 children in all.
    auto* tabs = Add<QTabWidget>(&window, 208, 1, 139, 129);
    auto* page1 = new QWidget;
    tabs->addTab(page1, QStringLiteral("&Tab"));
    auto* table = Add<QTableView>(page1, 0, 0, 131, 101);
    auto* model = new QStandardItemModel(2, 4, &window);
    const QStringList head{QStringLiteral("Netto"), QStringLiteral("Brutto"), QStringLiteral("USt"),
                           QStringLiteral("%")};
    for (int c = 0; c < 4; ++c) {
        model->setItem(0, c, new QStandardItem(head[c]));
        model->setItem(1, c, new QStandardItem(QStringLiteral("0,00")));
    }
    table->setModel(model);
    auto* page2 = new QWidget;
    tabs->addTab(page2, QStringLiteral("&USt"));
    Label(page2, QStringLiteral("Mehrwertsteuersätze"), 4, -2, 122, 14);
    auto* list = Add<QListWidget>(page2, 2, 16, 127, 73);
    for (int i = 0; i < 30; ++i)
        list->addItem(QStringLiteral("Staat %1 - %2%").arg(i).arg(15 + i % 12));
    auto* page3 = new QWidget;
    tabs->addTab(page3, QStringLiteral("&!"));
    Label(page3, QStringLiteral("Infos"), 2, 0, 130, 43)->hide();
    Label(page3, QStringLiteral("www.example.org"), -2, 40, 137, 13);
    Label(page3, QString(), 2, 59, 124, 34);

    // The three amount fields: 3 children.
    for (int y : {40, 72, 104})
        Add<QLineEdit>(&window, 56, y, 113, 25);

    window.setFixedSize(207, 131);
    window.show();
    return QApplication::exec();
}
