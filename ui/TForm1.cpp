#include "TForm1.h"

#include "FormLayout.h"
#include "TablePrinter.h"
#include "core/AppServices.h"
#include "core/IntegerText.h"
#include "core/ProfileFile.h"
#include "core/SettingsFile.h"
#include "numedit/KeyCodes.h"
#include "resources/Pictures.h"
#include "table/TableTransfer.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace kalvo {

namespace {

constexpr int CollapsedWidth = 207; // the right edge of SpeedButton1
constexpr int ClientHeight = 131;   // its bottom edge

QString S(QStringView s)
{
    return s.toString();
}

template<class W>
W* Create(QWidget* parent, QStringView name, const QString& accessibleName)
{
    auto* w = new W(parent);
    w->setObjectName(name.toString());
    w->setAccessibleName(accessibleName);
    return w;
}

TLabel* CreateLabel(QWidget* parent, QStringView name, const QString& text,
                    const QString& accessibleName, Qt::Alignment alignment)
{
    auto* label = Create<TLabel>(parent, name, accessibleName);
    label->setText(text);
    label->setAlignment(alignment);
    label->setTextFormat(Qt::PlainText);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(p);
    return label;
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarvo Mehrwertsteuer"));
    setAccessibleName(QStringLiteral("Tarvo Mehrwertsteuer"));
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    setPalette(p);
    setAutoFillBackground(true);

    ReadLocaleSeparators();
    CreateControls();
    WireEvents();
    FormCreate();
    qApp->installEventFilter(this);
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
    // The window is going away, not being closed: no settings are written. The grid goes
    // first, while the table it shows still exists.
    FDestroying = true;
    delete PageControl1;
}

void TForm1::ReadLocaleSeparators()
{
    // The user's locale (QLocale::system() unless the default was set).
    const QLocale locale;
    const QString decimal = locale.decimalPoint(), group = locale.groupSeparator();
    SetLocaleSeparators(
        {decimal.isEmpty() ? QChar(u'.') : decimal[0], group.isEmpty() ? QChar(u',') : group[0]});
}

// --- Creation -------------------------------------------------------------------------------

void TForm1::CreateControls()
{
    const Qt::Alignment centred = Qt::AlignCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;

    Label1 = CreateLabel(this, u"Label1", QStringLiteral("%"), QStringLiteral("Prozent"),
                         Qt::AlignLeft | Qt::AlignVCenter);
    Label2 = CreateLabel(this, u"Label2", QStringLiteral("Netto"), QStringLiteral("Netto"), right);
    Label3 = CreateLabel(this, u"Label3", QStringLiteral("MwSt."), QStringLiteral("MwSt."), right);
    L2 = CreateLabel(this, u"L2", QStringLiteral("DEM"), QStringLiteral("Währung der MwSt."),
                     centred);
    Label5 =
        CreateLabel(this, u"Label5", QStringLiteral("Brutto"), QStringLiteral("Brutto"), right);
    L1 = CreateLabel(this, u"L1", QStringLiteral("DEM"), QStringLiteral("Währung des Nettobetrags"),
                     centred);
    L3 = CreateLabel(this, u"L3", QStringLiteral("DEM"),
                     QStringLiteral("Währung des Bruttobetrags"), centred);
    Shape1 = Create<TShape>(this, u"Shape1", QStringLiteral("Staatskennzeichen"));
    oval = CreateLabel(this, u"oval", QStringLiteral("D"), QStringLiteral("Staatskennzeichen"),
                       centred);
    oval->setAutoFillBackground(true);
    {
        QPalette p = oval->palette();
        p.setColor(QPalette::Window, Qt::white);
        oval->setPalette(p);
    }
    SpeedButton1 = Create<TJvxSpeedButton>(this, u"SpeedButton1",
                                           QStringLiteral("Seitenteil ein- und ausblenden"));
    SpeedButton1->setText(QStringLiteral(">"));
    SpeedButton1->SetTextColor(Qt::black);
    ggg = Create<TImage>(this, u"ggg", QStringLiteral("Flagge"));
    ggg->SetTransparent(true);
    SpeedButton2 = Create<TJvxSpeedButton>(this, u"SpeedButton2", QStringLiteral("Zurück"));
    SpeedButton2->setText(QStringLiteral("<"));
    SpeedButton2->hide();
    Zufug =
        Create<TJvxSpeedButton>(this, u"Zufug", QStringLiteral("Zeile in die Tabelle übernehmen"));
    Zufug->SetGlyph(TransparentBitmap(LoadBitmap(u"ZUFUG")));
    Zufug->SetNumGlyphs(2);
    Zufug->setEnabled(false);

    Edit2 = Create<TRateEdit>(this, u"Edit2", QStringLiteral("Steuersatz in Prozent"));
    Edit2->setText(QStringLiteral("0"));
    {
        QPalette p = Edit2->palette();
        p.setColor(QPalette::Base, QColor(255, 255, 128));
        p.setColor(QPalette::Text, Qt::black);
        Edit2->setPalette(p);
    }
    SpinButton1 =
        Create<TSpinButton>(this, u"SpinButton1", QStringLiteral("Steuersatz erhöhen oder senken"));
    Edit5 = Create<QPlainTextEdit>(this, u"Edit5", QStringLiteral("Zwischenablage"));
    Edit5->setFocusPolicy(Qt::NoFocus);
    Edit5->setPlainText(QString());

    PageControl1 = Create<TPageControl>(this, u"PageControl1", QStringLiteral("Seitenteil"));
    TabSheet1 = Create<QWidget>(nullptr, u"TabSheet1", QStringLiteral("Tabelle"));
    PageControl1->addTab(TabSheet1, QStringLiteral("&Tab"));
    Tabelle = Create<TStringGrid>(TabSheet1, u"Tabelle", QStringLiteral("Tabelle der Datensätze"));
    {
        QPalette p = Tabelle->palette();
        p.setColor(QPalette::Text, Qt::black);
        Tabelle->setPalette(p);
    }
    TabSheet2 = Create<QWidget>(nullptr, u"TabSheet2", QStringLiteral("Steuersätze"));
    PageControl1->addTab(TabSheet2, QStringLiteral("&USt"));
    Label7 = CreateLabel(TabSheet2, u"Label7", QStringLiteral("Mehrwertsteuersätze"),
                         QStringLiteral("Mehrwertsteuersätze"), centred);
    ListBox1 = Create<TListBox>(TabSheet2, u"ListBox1", QStringLiteral("Mehrwertsteuersätze"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const TStateEntry& row : StateCatalogue)
        ListBox1->addItem(row.ListText.toString());
    TabSheet3 = Create<QWidget>(nullptr, u"TabSheet3", QStringLiteral("Infos"));
    PageControl1->addTab(TabSheet3, QStringLiteral("&!"));
    Label4 =
        CreateLabel(TabSheet3, u"Label4",
                    QStringLiteral("Über Mehrwertsteuer\nund andere Infos um\nAbgaben & Steuern!"),
                    QStringLiteral("Infos"), centred);
    Label4->setWordWrap(true);
    Label4->hide();
    Label6 = CreateLabel(TabSheet3, u"Label6", WebAddress(), QStringLiteral("Homepage"), centred);
    {
        QPalette p = Label6->palette();
        p.setColor(QPalette::WindowText, Qt::blue);
        Label6->setPalette(p);
    }
    Image1 = Create<TImage>(TabSheet3, u"Image1", QStringLiteral("Über den Autor"));
    Image1->SetPicture(LoadBitmap(u"IMAGE1").toImage());
    PageControl1->setCurrentWidget(TabSheet1);

    Edit1 = Create<TJvCalcEdit>(this, u"Edit1", QStringLiteral("Nettobetrag"));
    Edit3 = Create<TJvCalcEdit>(this, u"Edit3", QStringLiteral("Mehrwertsteuerbetrag"));
    Edit4 = Create<TJvCalcEdit>(this, u"Edit4", QStringLiteral("Bruttobetrag"));
    for (TJvCalcEdit* field : {Edit1, Edit3, Edit4}) {
        field->SetDisplayFormat(QStringLiteral(",0.00"));
        field->SetNumGlyphs(2);
    }

    setTabOrder(Edit2, Edit1);
    setTabOrder(Edit1, Edit3);
    setTabOrder(Edit3, Edit4);
    setTabOrder(Edit4, PageControl1);

    // The grid's defaults as laid out.
    Tabelle->SetDefaultColWidth(27);
    Tabelle->SetDefaultRowHeight(12);
    FTableModel = new TRecordTableModel(FTable, this);
    Tabelle->setModel(FTableModel);

    ApplyFormLayout(this, 1);
    SetClientSize(455, 445);

    PopupMenu2 = new TPopupMenu(u"PopupMenu2", OptionsMenu(), this);
    PopupMenu3 = new TPopupMenu(u"PopupMenu3", StateMenu(), this);
    PopupMenu2->OnItemClick = [this](const TMenuItemSpec& item) { RunMenuCommand(item); };
    PopupMenu3->OnItemClick = [this](const TMenuItemSpec& item) { RunMenuCommand(item); };
    for (TPopupMenu* menu : {PopupMenu2, PopupMenu3}) {
        for (QAction* action : menu->actions())
            action->setChecked(false);
    }
}

void TForm1::WireEvents()
{
    for (TLabel* label : {Label1, Label2, Label3, L2, Label5, L1, L3, oval})
        connect(label, &TLabel::DblClick, this, &TForm1::FormDblClick);
    connect(oval, &TLabel::Click, this, &TForm1::ovalClick);
    connect(ggg, &TImage::Click, this, &TForm1::gggClick);
    connect(SpeedButton1, &QAbstractButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(Zufug, &QAbstractButton::clicked, this, &TForm1::ZufugClick);
    connect(Edit2, &QLineEdit::textChanged, this, &TForm1::Edit2Change);
    Edit2->OnKeyPress = [this](QChar key) { return Edit111KeyPress(key); };
    connect(SpinButton1, &TSpinButton::UpClick, this, &TForm1::SpinButton1UpClick);
    connect(SpinButton1, &TSpinButton::DownClick, this, &TForm1::SpinButton1DownClick);
    connect(ListBox1, &TListBox::Click, this, &TForm1::ListBox1Click);
    connect(Label6, &TLabel::Click, this, &TForm1::Label6Click);
    connect(Image1, &TImage::Click, this, &TForm1::ber1Click);
    connect(Edit1, &TJvCustomComboEdit::Change, this, &TForm1::Edit1Change);
    connect(Edit3, &TJvCustomComboEdit::Change, this, &TForm1::Edit3Change);
    connect(Edit4, &TJvCustomComboEdit::Change, this, &TForm1::Edit4Change);
}

void TForm1::FormCreate()
{
    // The window starts collapsed to its calculator part.
    SetClientSize(SpeedButton1->geometry().right() + 1, SpeedButton1->geometry().bottom() + 1);
    SetHint(ggg, QStringLiteral("Deutschland"));
    FState.StdZeilenHoehe = Tabelle->DefaultRowHeight();
    FState.StdSpaltenBreite = Tabelle->DefaultColWidth();
    FTable.SetUp(FState, LocaleSeparators());
    FTableModel->Refresh();
    Guarded([this] { FState.Satz = RateFromText(Edit2->text(), LocaleSeparators()); });
    FState.Netto = FState.Steuer = FState.Brutto = 0;
    PopupMenu2->Item(u"raus")->setText(QStringLiteral("Sch&ließen\tAlt+F4"));
    QImage surface(ggg->size(), QImage::Format_ARGB32);
    surface.fill(palette().color(QPalette::Window));
    ggg->SetPicture(surface);
    SetHint(oval, QStringLiteral("rechte Maus zur \nLänderauswahl"));
    SetHint(Zufug, QStringLiteral("Übernahme eines Datensatzes\nin die Tabelle (auch F2)"));
    SetHint(ListBox1, QStringLiteral("Stand 1.11.2001"));
    SetHint(Label6, QStringLiteral("Die Homepage des Autors.\nEinen Besuch wert!"));
    SetHint(Image1, QStringLiteral("...über den Autor"));
}

void TForm1::PlaceWindow(int left, int top)
{
    // Kept on the primary screen; a window that ends exactly at an edge stays where it is.
    const QSize frame = frameGeometry().size();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    if (left > screen.width() - frame.width())
        left = screen.width() - frame.width() - 20;
    if (top > screen.height() - frame.height())
        top = screen.height() - frame.height() - 20;
    MoveFrame({left, top});
}

void TForm1::MoveFrame(QPoint position)
{
    // The window manager may not have framed the window yet: give the frame's position, so
    // that the frame lands there however wide it turns out.
    if (QWindow* window = windowHandle())
        window->setFramePosition(position);
    else
        move(position);
}

void TForm1::SetClientSize(int width, int height)
{
    setFixedSize(width, height);
}

// --- Life -----------------------------------------------------------------------------------

bool TForm1::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !FActivated)
        FormActivate();
    else if (event->type() == QEvent::LocaleChange)
        ReadLocaleSeparators();
    return QWidget::event(event);
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window that is never activated (Wayland, focus-stealing prevention) still reads its
    // settings.
    if (!FActivated)
        QTimer::singleShot(0, this, &TForm1::FormActivate);
}

void TForm1::FormActivate()
{
    if (FActivated)
        return;
    FActivated = true;

    int state = 0, left = 0, top = 0, gross = 0;
    try {
        const SettingsFile settings(SettingsPath());
        state = StrToInt(settings.ReadString(QStringLiteral("Staat"), QStringLiteral("Nummer"),
                                             QStringLiteral("4")));
        left = StrToInt(settings.ReadString(QStringLiteral("Lage"), QStringLiteral("links"),
                                            QStringLiteral("290")));
        top = StrToInt(settings.ReadString(QStringLiteral("Lage"), QStringLiteral("oben"),
                                           QStringLiteral("180")));
        gross = StrToInt(settings.ReadString(QStringLiteral("Darstellung"), QStringLiteral("gross"),
                                             QStringLiteral("0")));
    } catch (const Exception& e) {
        // A value that is no integer: the window comes to its default place instead of staying
        // off the screen, so that the user sees it beside the message; nothing else is done.
        PlaceWindow(290, 180);
        ReportError(e.Message());
        return;
    }

    const QCursor hand = HandCursor();
    for (QWidget* w : std::initializer_list<QWidget*>{SpinButton1, SpeedButton2, SpeedButton1, oval,
                                                      Label6, Image1, ggg})
        w->setCursor(hand);
    FState.Netto = FState.Steuer = FState.Brutto = 0;
    if (state >= 0 && state < StateCount)
        SelectState(state);

    PlaceWindow(left, top);

    if (gross == 1)
        PopupMenu2->Item(u"gross")->setChecked(true);
    if (PopupMenu2->Item(u"gross")->isChecked())
        DoubleSizeOn();
}

bool TForm1::FormClose()
{
    return Guarded([this] {
        SettingsFile settings(SettingsPath());
        settings.WriteInteger(QStringLiteral("Staat"), QStringLiteral("Nummer"),
                              FState.StaatNummer);
        const QPoint position = frameGeometry().topLeft();
        settings.WriteInteger(QStringLiteral("Lage"), QStringLiteral("links"), position.x());
        settings.WriteInteger(QStringLiteral("Lage"), QStringLiteral("oben"), position.y());
        settings.WriteString(QStringLiteral("Darstellung"), QStringLiteral("gross"),
                             PopupMenu2->Item(u"gross")->isChecked() ? QStringLiteral("1")
                                                                     : QStringLiteral("0"));
        settings.UpdateFile();
    });
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // A failed write keeps the window open and the program running.
    if (FDestroying || FormClose())
        event->accept();
    else
        event->ignore();
}

// --- State selection ------------------------------------------------------------------------

void TForm1::SelectState(int row)
{
    const TStateEntry& entry = StateCatalogue[static_cast<std::size_t>(row)];
    const bool done = Guarded([&] {
        if (row == AustriaState)
            WriteProfileString(QStringLiteral("kalvo.INI"), QStringLiteral("Staat"),
                               QStringLiteral("Nummer"), QStringLiteral("13"));
    });
    if (!done)
        return;
    for (TLabel* label : {L1, L2, L3})
        label->setText(S(entry.CurrencyLabel));
    oval->setText(S(entry.LetterCode));
    if (entry.HasRate) {
        FState.Satz = entry.Rate;
        Edit2->setText(RateText(FState.Satz, LocaleSeparators()));
        Edit2->setFocus(Qt::OtherFocusReason);
        Edit2Change();
    }
    DrawFlag(entry.FlagBitmap);
    SetHint(ggg, S(entry.FlagHint));
    FState.StaatNummer = entry.Index;
}

void TForm1::DrawFlag(QStringView bitmap)
{
    const QImage flag = LoadBitmap(bitmap).toImage();
    QImage& surface = ggg->Canvas();
    QPainter painter(&surface);
    painter.drawImage(QPoint(0, 0), flag);
    painter.end();
    ggg->repaint();
}

void TForm1::ListBox1Click()
{
    const int row = ListBox1->currentRow();
    if (row >= 0 && row < StateCount)
        SelectState(row);
    ListBox1->setFocus(Qt::OtherFocusReason);
}

void TForm1::ovalClick()
{
    // Beside the window on its left: 5 pixels to spare, as a 180-pixel menu at 185 would have.
    const QRect frame = frameGeometry();
    const int width = std::max(180, PopupMenu3->sizeHint().width());
    PopupMenu3->popup(QPoint(frame.left() - 5 - width, frame.top() + 20));
}

void TForm1::gggClick()
{
    const QRect frame = frameGeometry();
    PopupMenu3->popup(QPoint(frame.left() + frame.width() + 10, frame.top() + 20));
}

// --- The computation ------------------------------------------------------------------------

bool TForm1::IsFocused(const QWidget* w) const
{
    return focusWidget() == w;
}

void TForm1::SetNetValue(double value)
{
    Edit1->SetValue(value);
}

void TForm1::SetVatValue(double value)
{
    Edit3->SetValue(value);
}

void TForm1::SetGrossValue(double value)
{
    Edit4->SetValue(value);
}

void TForm1::Edit1Change()
{
    if (!IsFocused(Edit1))
        return;
    Guarded([this] {
        ReadRate(FState, Edit2->text(), LocaleSeparators());
        ComputeFromNet(FState, Edit1->Value(), *this);
        Zufug->setEnabled(AddLineAllowed(FState));
    });
}

void TForm1::Edit3Change()
{
    if (!IsFocused(Edit3))
        return;
    Guarded([this] {
        ReadRate(FState, Edit2->text(), LocaleSeparators());
        ComputeFromVat(FState, Edit3->Value(), *this);
    });
}

void TForm1::Edit4Change()
{
    if (!IsFocused(Edit4))
        return;
    Guarded([this] {
        ReadRate(FState, Edit2->text(), LocaleSeparators());
        ComputeFromGross(FState, Edit4->Value(), *this);
    });
}

void TForm1::Edit2Change()
{
    if (!IsFocused(Edit2))
        return;
    Guarded([this] {
        ReadRate(FState, Edit2->text(), LocaleSeparators());
        ComputeFromNet(FState, Edit1->Value(), *this);
    });
}

QChar TForm1::Edit111KeyPress(QChar key)
{
    return MapRateKey(key, LocaleSeparators());
}

void TForm1::SpinButton1UpClick()
{
    SpinStep(SpinUp);
}

void TForm1::SpinButton1DownClick()
{
    SpinStep(SpinDown);
}

void TForm1::SpinStep(void (*step)(TCalcState&))
{
    Edit2->setFocus(Qt::OtherFocusReason);
    Guarded([this, step] {
        step(FState);
        // The focused rate field runs the rate-driven computation when its text changes; the
        // computation here also covers a text that stays the same.
        Edit2->setText(RateText(FState.Satz, LocaleSeparators()));
        ComputeFromNet(FState, FState.Netto, *this);
    });
}

// --- The record table -----------------------------------------------------------------------

void TForm1::ZufugClick()
{
    const TTableLine line{Edit1->Value(), Edit4->Value(), Edit3->Value(), FState.Satz};
    if (!FTable.AddLine(FState, line, LocaleSeparators()))
        return;
    FTableModel->Refresh();
    for (QStringView item : {u"Tabschen1", u"Tabdruck1", u"Zwisch1", u"letzte1"})
        PopupMenu2->Item(item)->setEnabled(true);
    for (TJvCalcEdit* field : {Edit1, Edit3, Edit4}) {
        if (IsFocused(field))
            field->SelectWholeText();
    }
}

void TForm1::letzte1Click()
{
    FTable.DeleteLastLine(FState, LocaleSeparators());
    FTableModel->Refresh();
}

void TForm1::Tabschen1Click()
{
    FTable.Clear(FState, LocaleSeparators());
    FTableModel->Refresh();
}

void TForm1::Tabdruck1Click()
{
    Guarded([this] { PrintTable(FTable, FState.TabellenZeile, LocaleSeparators()); });
}

void TForm1::Zwisch1Click()
{
    Guarded([this] {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!clipboard)
            throw EClipboardError();
        const QString text = TableClipboardText(FTable, FState.TabellenZeile);
        clipboard->clear();
        clipboard->setText(text);
        if (clipboard->text() != text)
            throw EClipboardError();
        Edit5->setPlainText(text);
        Edit5->selectAll();
    });
}

// --- Window commands ------------------------------------------------------------------------

void TForm1::RunMenuCommand(const TMenuItemSpec& item)
{
    switch (item.Command) {
    case TMenuCommand::SelectState:
        SelectState(item.State);
        break;
    case TMenuCommand::Hilfe:
        Hilfe1Click();
        break;
    case TMenuCommand::Ontop:
        Ontop1Click();
        break;
    case TMenuCommand::Tooltips:
        Tooltips1Click();
        break;
    case TMenuCommand::Gross:
        grossClick();
        break;
    case TMenuCommand::Tabdruck:
        Tabdruck1Click();
        break;
    case TMenuCommand::Tabschen:
        Tabschen1Click();
        break;
    case TMenuCommand::Letzte:
        letzte1Click();
        break;
    case TMenuCommand::Zwisch:
        Zwisch1Click();
        break;
    case TMenuCommand::About:
        ber1Click();
        break;
    case TMenuCommand::Raus:
        rausClick();
        break;
    case TMenuCommand::Submenu:
    case TMenuCommand::Separator:
        break;
    }
}

QString TForm1::HelpText()
{
    return QStringList{
        QStringLiteral("Tastatur:"),
        QStringLiteral("Menüs: F5 oder rechte Maus"),
        QStringLiteral("Auswahl über Tasten,"),
        QStringLiteral("ShortCuts, Tabulator."),
        QString(),
        QStringLiteral("Zwischenablage:"),
        QStringLiteral("Kopiert wird das Feld"),
        QStringLiteral("mit dem Cursor!"),
        QString(),
        QStringLiteral("Steuersätze:"),
        QStringLiteral("Stand 01.03.2024, keine Gewähr!"),
        QStringLiteral("Änderung über Spinbutton oder"),
        QStringLiteral("direkte Eingabe."),
        QString(),
        QStringLiteral("Tabelle füllen auch mit F2!"),
    }
        .join(u'\n');
}

QString TForm1::WebAddress()
{
    // Short enough for the web-link label's fixed box.
    return QStringLiteral("quorvath-software.example");
}

QString TForm1::AboutText()
{
    return QStringList{
        QStringLiteral("Tarvo Mehrwertsteuer  -  Umsatzsteuerrechner"),
        QStringLiteral("Version 5.0  -  01.03.2024"),
        QString(),
        QStringLiteral("Ein Programm von:"),
        QStringLiteral("Quorvath Software"),
        QStringLiteral("Beispielweg 0"),
        QStringLiteral("00000 Musterstadt"),
        QStringLiteral("Tel.\t0000 000000"),
        QStringLiteral("Email\tinfo@quorvath-software.example"),
        WebAddress(),
    }
        .join(u'\n');
}

void TForm1::ShowInfoBox(const QString& text)
{
    const bool onTop = windowFlags() & Qt::WindowStaysOnTopHint;
    if (onTop)
        SetStayOnTop(false);
    ShowInformation(text);
    if (onTop)
        SetStayOnTop(true);
}

void TForm1::Hilfe1Click()
{
    ShowInfoBox(HelpText());
}

void TForm1::ber1Click()
{
    ShowInfoBox(AboutText());
}

void TForm1::SetStayOnTop(bool onTop)
{
    if (bool(windowFlags() & Qt::WindowStaysOnTopHint) == onTop)
        return;
    const QPoint position = frameGeometry().topLeft();
    const bool visible = isVisible();
    // Changing the flag re-creates the native window, which must be shown again.
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible) {
        MoveFrame(position);
        show();
    }
}

void TForm1::Ontop1Click()
{
    // The check mark was reversed when the item was chosen; the style follows it.
    SetStayOnTop(PopupMenu2->Item(u"Ontop1")->isChecked());
}

void TForm1::SetHint(QWidget* widget, const QString& hint)
{
    widget->setProperty("kalvoHint", hint);
    widget->setToolTip(FShowHints ? hint : QString());
}

void TForm1::Tooltips1Click()
{
    FShowHints = PopupMenu2->Item(u"Tooltips1")->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{Zufug, Edit1, Edit3, Edit4, oval, Label6,
                                                      Image1, ggg, ListBox1})
        w->setToolTip(FShowHints ? w->property("kalvoHint").toString() : QString());
}

void TForm1::ScaleControls(int factor)
{
    const QSize client = size();
    const int previous = FScale;
    FScale = factor;
    ApplyFormLayout(this, factor);
    for (TJvCalcEdit* field : {Edit1, Edit3, Edit4}) {
        field->SetButtonWidth(20 * factor);
        field->SetGlyphScale(factor);
    }
    Zufug->SetGlyphScale(factor);
    SpinButton1->SetArrowScale(factor);
    SetClientSize(client.width() * factor / previous, client.height() * factor / previous);
}

void TForm1::DoubleSizeOn()
{
    ScaleControls(2);
    PageControl1->SetTabHeight(30);
    Tabelle->SetDefaultRowHeight(Tabelle->DefaultRowHeight() * 2);
    Tabelle->SetDefaultColWidth(Tabelle->DefaultColWidth() * 2);
}

void TForm1::DoubleSizeOff()
{
    ScaleControls(1);
    PageControl1->SetTabHeight(20);
    Tabelle->SetDefaultRowHeight(FState.StdZeilenHoehe);
    Tabelle->SetDefaultColWidth(FState.StdSpaltenBreite);
    ggg->repaint();
}

void TForm1::grossClick()
{
    // The check mark was reversed when the item was chosen: set now means "switch on".
    if (PopupMenu2->Item(u"gross")->isChecked())
        DoubleSizeOn();
    else
        DoubleSizeOff();
}

void TForm1::rausClick()
{
    // Ends the program without the close step: no settings are written.
    QCoreApplication::exit(0);
}

void TForm1::SpeedButton1Click()
{
    SetClientSize(SpeedButton2->geometry().right() + 1, height());
    Label4->show();
    Label6->show();
    if (SpeedButton1->text() == u">") {
        SpeedButton1->setText(QStringLiteral("<"));
    } else {
        SpeedButton1->setText(QStringLiteral(">"));
        SetClientSize(SpeedButton1->geometry().right() + 1, height());
    }
}

void TForm1::FormDblClick()
{
    const QRect frame = frameGeometry();
    PopupMenu2->popup(QPoint(frame.left() + 10, frame.top() + 40));
}

void TForm1::FormKeyDown(int key)
{
    if (key == vk::F5)
        FormDblClick();
    else if (key == vk::F2)
        ZufugClick();
}

void TForm1::Label6Click()
{
    OpenUrl(QStringLiteral("https://") + WebAddress());
}

void TForm1::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Only the window's own background: double clicks that the side panel's controls pass on
    // are none of the window's business. The captions report their own.
    if (event->button() == Qt::LeftButton && !childAt(event->position().toPoint()))
        FormDblClick();
}

void TForm1::contextMenuEvent(QContextMenuEvent* event)
{
    QPoint position = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        if (const QWidget* focused = focusWidget())
            position = focused->mapToGlobal(QPoint(0, 0));
    }
    // The letter code and the flag have the state menu; the fields their own text menus.
    const QWidget* under = childAt(mapFromGlobal(event->globalPos()));
    if (event->reason() != QContextMenuEvent::Keyboard && (under == oval || under == ggg))
        PopupMenu3->popup(position);
    else
        PopupMenu2->popup(position);
    event->accept();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    // Only keys meant for this window, once: at the control that has the focus.
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = this;
    if (watched != target || target->window() != this)
        return QWidget::eventFilter(watched, event);

    auto* key = static_cast<QKeyEvent*>(event);
    const TShortCut shortCut = ShortCutFromKeyEvent(key);
    const int item = PopupMenu2->FindShortCut(shortCut);
    if (item >= 0) {
        // The options menu's shortcuts win over everything; a disabled item swallows its key.
        key->accept();
        if (type == QEvent::KeyPress && PopupMenu2->ItemUsable(item))
            PopupMenu2->ItemAt(item)->trigger();
        return true;
    }
    if (type == QEvent::KeyPress)
        FormKeyDown(VirtualKey(key->key()));
    return QWidget::eventFilter(watched, event);
}

} // namespace kalvo
