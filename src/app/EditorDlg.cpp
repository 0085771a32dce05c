#include "app/EditorDlg.h"

#include "app/ComboSortedList.h"
#include "app/ControlIds.h"
#include "app/DialogUnits.h"
#include "app/FilterButton.h"
#include "app/QtText.h"
#include "archive/SaveJournal.h"
#include "common/FileError.h"
#include "common/Paths.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"
#include "mapwidget/MapWnd.h"
#include "OrvikVersion.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <new>

// The icons live in a static library, so their resource must be registered by hand.
static void InitEditorResources() { Q_INIT_RESOURCE(editor); }

namespace orvik {

namespace {

const char* const kStartupMessage =
    "First, Find your Tarnhold \"kqbase.pff\". \nIf You haven't backed it up yet, please make a backup of BOTH "
    "kqbase.pff AND kq.pff NOW!!\n\nNOTE: items.def should be in the same directory!!!";

constexpr int kColumnWidth = 75;
// The map view's place in the client area, in pixels whatever the font.
constexpr int kMapLeft = 10;
constexpr int kMapTop = 50;

template <class Widget>
Widget* Place(Widget* widget, int id, const QRect& rect)
{
    widget->setObjectName(ControlName(id));
    widget->setGeometry(rect);
    return widget;
}

} // namespace

CEditorDlg::CEditorDlg(Prompts& prompts, std::optional<std::string> basePath, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_startPath(std::move(basePath))
{
    InitEditorResources();
    m_hIcon.addFile(QStringLiteral(":/orvik/icon32.png"), QSize(32, 32));
    m_hIcon.addFile(QStringLiteral(":/orvik/icon16.png"), QSize(16, 16));

    setWindowTitle(QStringLiteral("Orvik Editor V" ORVIK_VERSION_MAJOR_MINOR));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // The layout was drawn for an 8-point sans-serif font 11 pixels high, about 6 pixels a character.
    QFont dialogFont = font();
    dialogFont.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    // The default size is the smallest; larger, the table and the map grow.
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setMinimumSize(kClientWidth, kClientHeight);
    resize(kClientWidth, kClientHeight);
    CreateControls();
    RecordLayout();
}

CEditorDlg::~CEditorDlg()
{
    // The table and its model go with the widgets, after the document: let go of it first.
    m_document.Unsubscribe(m_docListener);
    m_document.Unsubscribe(m_mapListener);
    m_list->SetDocument(nullptr);
}

void CEditorDlg::CreateControls()
{
    // Created in tab order, which is also Qt's focus chain.
    m_cbMission = Place(new QComboBox(this), kIdMission, DluRect(7, 7, 160, 142));
    m_cbMission->setEditable(false);
    m_cbMission->setMaxVisibleItems(12);
    // The box has a fixed size; without this Qt measures every line of a long list on first show.
    m_cbMission->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // The closed box is one line high; 142 units is the height of the dropped list.
    m_cbMission->resize(m_cbMission->width(), 21);

    m_list = Place(new CEditListCtrl(this), kIdItemTable, DluRect(355, 31, 286, 339));
    m_btnSave = Place(new QPushButton(QStringLiteral("Save"), this), kIdSave, DluRect(598, 7, 43, 12));
    m_btnGetMissionFiles =
        Place(new QPushButton(QStringLiteral("Get Mission Files"), this), kIdGetMissionFiles, DluRect(377, 7, 92, 12));
    m_btnRefreshMap =
        Place(new QPushButton(QStringLiteral("Refresh Map"), this), kIdRefreshMap, DluRect(487, 7, 92, 12));

    m_groupShow = Place(new QGroupBox(QStringLiteral("Show"), this), kIdStatic, DluRect(7, 349, 338, 21));
    m_groupShow->setFocusPolicy(Qt::NoFocus);
    // The frame runs along the box's own edges with the title inside it, so no line crosses the
    // switches below the title.
    m_groupShow->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); margin-top: 0px; }"
        "QGroupBox::title { subcontrol-origin: border; subcontrol-position: top left; left: 5px; top: 1px; }"));

    const auto filter = [this](const char* text, int id, const QRect& rect) {
        auto* button = Place(new FilterButton(QString::fromLatin1(text), this), id, rect);
        button->setFocusPolicy(Qt::ClickFocus); // not a tab stop
        return button;
    };
    m_btnPeople = filter("People", kIdPeople, DluRect(13, 359, 37, 9));
    m_btnBuildings = filter("Buildings", kIdBuildings, DluRect(56, 359, 43, 9));
    m_btnDecorations = filter("Decorations", kIdDecorations, DluRect(105, 359, 53, 9));
    m_btnVehicles = filter("Vehicles", kIdVehicles, DluRect(165, 359, 41, 9));
    m_btnMarkers = filter("Markers", kIdMarkers, DluRect(213, 359, 42, 9));
    m_btnObjects = filter("Objects", kIdObjects, DluRect(259, 359, 40, 9));

    m_editCoord = Place(new QLineEdit(this), kIdCoord, DluRect(173, 7, 173, 12));
    m_editCoord->setReadOnly(true);
    m_editCoord->setEnabled(false);

    // The status line sits in the strip above the map.
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setGeometry(kMapLeft, 33, MapView::kSize, 16);

    m_btnIds = filter("IDs", kIdIds, DluRect(304, 359, 40, 9));
    // The change marks' switch sits at the right end of the strip above the map: the group under
    // the map has no room left beside IDs.
    m_btnChanges = new FilterButton(QStringLiteral("Changes"), this);
    m_btnChanges->setObjectName(QStringLiteral("changes"));
    m_btnChanges->setFocusPolicy(Qt::ClickFocus);
    m_btnChanges->setToolTip(QStringLiteral("Show where moved items stood at the last save"));
    m_btnChanges->setGeometry(kMapLeft + MapView::kSize - 70, 33, 70, 16);
    m_status->setGeometry(kMapLeft, 33, MapView::kSize - 210, 16);

    // No button is the dialog's default: Enter goes to the focused button or ends the editor.
    for (QPushButton* button : {m_btnSave, m_btnGetMissionFiles, m_btnRefreshMap})
        button->setAutoDefault(false);

    setTabOrder(m_cbMission, m_list);
    setTabOrder(m_list, m_btnSave);
    setTabOrder(m_btnSave, m_btnGetMissionFiles);
    setTabOrder(m_btnGetMissionFiles, m_btnRefreshMap);

    connect(m_cbMission, &QComboBox::currentIndexChanged, this, &CEditorDlg::OnMissionIndexChanged);
    m_list->SetDocument(&m_document);
    CreateEditingShortcuts();
    CreateFilterControls();
    const auto bind = [this](QAbstractButton* button, void (CEditorDlg::*handler)()) {
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); });
    };
    bind(m_btnSave, &CEditorDlg::OnSave);
    bind(m_btnGetMissionFiles, &CEditorDlg::OnGetMissionFiles);
    bind(m_btnRefreshMap, &CEditorDlg::OnRefreshMap);
    bind(m_btnPeople, &CEditorDlg::OnPeople);
    bind(m_btnBuildings, &CEditorDlg::OnBuildings);
    bind(m_btnDecorations, &CEditorDlg::OnDecorations);
    bind(m_btnVehicles, &CEditorDlg::OnVehicles);
    bind(m_btnMarkers, &CEditorDlg::OnMarkers);
    bind(m_btnObjects, &CEditorDlg::OnObjects);
    bind(m_btnIds, &CEditorDlg::OnIds);
    bind(m_btnChanges, &CEditorDlg::OnChanges);
}

int CEditorDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

bool CEditorDlg::OnInitDialog()
{
    setWindowIcon(m_hIcon);

    m_map = new CMapWnd(this);
    m_map->setObjectName(ControlName(kIdMap));
    m_map->setGeometry(kMapLeft, kMapTop, MapView::kSize, MapView::kSize);
    m_map->show();
    LayOut();
    m_map->SetCoordWnd(m_editCoord);
    ConnectMap();

    const auto& titles = ItemColumnTitles();
    for (int column = 0; column < kColumnCount; ++column)
        m_list->InsertColumn(column, QString::fromLatin1(titles[static_cast<std::size_t>(column)]), kColumnWidth);

    m_btnGetMissionFiles->setEnabled(false);
    m_btnSave->setEnabled(false);
    m_btnRefreshMap->setEnabled(false);

    m_btnBuildings->setChecked(true);
    m_btnPeople->setChecked(true);
    m_btnObjects->setChecked(true);
    m_btnVehicles->setChecked(true);
    m_btnMarkers->setChecked(true);
    m_btnDecorations->setChecked(true);
    m_btnIds->setChecked(false);
    m_btnChanges->setChecked(false);
    ApplySettings();

    StartRecovery();
    // A file error here skips the rest of the start-up, as in any other command.
    RunCommand([this] {
        if (m_startPath) {
            m_strBasePath = *m_startPath;
        } else {
            if (IsFirstStart())
                m_prompts.Message(QString::fromLatin1(kStartupMessage));
            m_strBasePath = PathFromQt(m_prompts.OpenFile(OpenHint()));
        }
        LoadArchive();
        RememberArchive();
    });
    return true;
}

void CEditorDlg::LoadArchive()
{
    // The findings look names up in the old catalogue: they go before it does.
    m_list->TableModel()->SetFindings(nullptr);
    m_findings.reset();
    m_itemDefs = CItemDefList();
    ReadCatalogue();
    m_session.SetCatalogueHash(HashFileBytes(FindInFolder(GameDirectory(m_strBasePath), "items.def")));
    QStringList names;
    for (std::size_t i = 0; i < m_itemDefs.Size(); ++i)
        names.append(ToQt(m_itemDefs.At(i).m_strName));
    names.removeDuplicates();
    m_list->SetCompletionNames(names);
    SettleInterruptedSave();
    FillMissionList();
    OfferRecovery();
}

void CEditorDlg::FillMissionList()
{
    const QSignalBlocker blocker(m_cbMission);
    m_cbMission->clear();
    ComboSortedList list(*m_cbMission);
    try {
        m_archive.ListMissions(list, m_strBasePath);
    } catch (...) {
        // Lines added before the error stay, but none is chosen.
        m_cbMission->setCurrentIndex(-1);
        throw;
    }
    m_cbMission->setCurrentIndex(-1);
}

void CEditorDlg::SettleInterruptedSave()
{
    if (m_strBasePath.empty())
        return;
    const SettleResult settled = SettleJournal(m_strBasePath);
    if (!settled.message.empty())
        m_prompts.Message(ToQt(settled.message));
}

void CEditorDlg::ReadCatalogue()
{
    const std::string dir = GameDirectory(m_strBasePath);
    if (!m_itemDefs.Load(FindInFolder(dir, "items.def"))) {
        const QString folder =
            dir.empty() ? QDir::toNativeSeparators(QDir::currentPath() + QLatin1Char('/')) : PathToQt(dir);
        m_prompts.Message(QStringLiteral("items.def was not found in ") + folder + QStringLiteral("."));
    }
}

void CEditorDlg::RunCommand(const std::function<void()>& command)
{
    try {
        command();
    } catch (const FileError& e) {
        m_prompts.FileErrorReport(ToQt(e.Message()));
    } catch (const UserError& e) {
        m_prompts.Message(ToQt(e.what()));
    } catch (const std::bad_alloc&) {
        m_prompts.Message(QStringLiteral("Not enough memory to finish the command."));
    } catch (const std::exception& e) {
        m_prompts.Message(ToQt(e.what()));
    } catch (...) {
        m_prompts.Message(QStringLiteral("The command failed for an unknown reason."));
    }
}

bool CEditorDlg::HasUnsavedEdits() const
{
    if (!m_document.IsClean())
        return true;
    // An edit box still open with changed text is an edit too, although not yet stored.
    const CInPlaceEdit* edit = m_list ? m_list->ActiveEdit() : nullptr;
    return edit && !edit->IsCancelled() && edit->text() != edit->InitialText();
}

bool CEditorDlg::ConfirmDiscard()
{
    if (!HasUnsavedEdits())
        return true;
    const QString line = m_nLoadedIndex >= 0 ? m_cbMission->itemText(m_nLoadedIndex) : QString();
    const QString name = ToQt(MissionNameFromLine(FromQt(line)));
    return m_prompts.AskYesNo(QStringLiteral("Discard the unsaved changes to ") + name + QStringLiteral("?"));
}

void CEditorDlg::done(int result)
{
    if (!ConfirmDiscard())
        return;
    StoreSettings(false);
    // The user let the edits go: their recovery file goes with them.
    m_session.DiscardRecovery();
    QDialog::done(result);
}

void CEditorDlg::keyPressEvent(QKeyEvent* event)
{
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // A push button that has the focus takes Enter as its click; anywhere else Enter ends the editor.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            if (button->isEnabled())
                button->click();
            return;
        }
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CEditorDlg::OnMissionIndexChanged(int index)
{
    if (index < 0 || index == m_nLoadedIndex)
        return;
    if (!ConfirmDiscard()) {
        // Back to the mission the table shows, which stays as it is.
        const QSignalBlocker blocker(m_cbMission);
        m_cbMission->setCurrentIndex(m_nLoadedIndex);
        return;
    }
    // The view of the mission being left, before it goes.
    StoreSettings(false);
    RunCommand([this] {
        OnSelchangeMission();
        RememberMission();
    });
}

std::uint32_t CEditorDlg::SelectedMissionOffset() const
{
    return ComboSortedList::ItemData(*m_cbMission, m_cbMission->currentIndex());
}

std::string CEditorDlg::RowSuffix(long row) { return " (row " + std::to_string(row + 1) + ")"; }

} // namespace orvik
