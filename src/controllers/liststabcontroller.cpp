// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/liststabcontroller.h"

#include "controllers/tabcontrollerutil.h"
#include "lists/listresultwriter.h"
#include "settings/octetrysettings.h"
#include "ui_octetrymainform.h"
#include "widgets/largetableview.h"

#include <QComboBox>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTextDocument>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {
// The operations in the order of ListOperation, which the stored index follows.
const std::array<const char*, OctetrySettings::kListOperationCount> kOperationNames = {
    QT_TRANSLATE_NOOP("ListsTabController", "Merge A"),
    QT_TRANSLATE_NOOP("ListsTabController", "A minus B"),
    QT_TRANSLATE_NOOP("ListsTabController", "A and B"),
    QT_TRANSLATE_NOOP("ListsTabController", "A or B"),
    QT_TRANSLATE_NOOP("ListsTabController", "Overlaps in A"),
    QT_TRANSLATE_NOOP("ListsTabController", "Overlaps of A with B"),
    QT_TRANSLATE_NOOP("ListsTabController", "Ranges of A"),
};
constexpr std::array kListNames = {"A", "B"};
// Larger files are refused before they are read: the edit could not hold them.
constexpr qint64 kMebibyte = qint64{1024} * 1024;
constexpr qint64 kMaxOpenBytes = 256 * kMebibyte;
// An edit takes a few microseconds a line, so a file goes in by slices that keep the window answering.
constexpr size_t kSliceBytes = size_t{8} * 1024;
constexpr int kSliceMs = 8;
// The edit lays a line out whole on each keystroke: longer lines would hold the window for seconds.
constexpr size_t kMaxEditLineBytes = size_t{16} * 1024;

// Why bytes cannot go into an edit: binary data or a line it could not lay out quickly; empty if they can.
QString NotEditable(std::string_view bytes)
{
    if (bytes.find('\0') != std::string_view::npos)
        return ListsTabController::tr("it holds binary data");
    // A window of one more byte than the longest line holds a line break, the
    // next window starts after its last one: a step a window, not a line.
    const size_t window = kMaxEditLineBytes + 1;
    for (size_t start = 0; bytes.size() - start >= window;) {
        const void* found = memrchr(bytes.data() + start, '\n', window);
        if (found == nullptr) {
            const auto line = std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(start), '\n') + 1;
            return ListsTabController::tr("line %1 is longer than %2 characters").arg(line).arg(kMaxEditLineBytes);
        }
        start = static_cast<size_t>(static_cast<const char*>(found) - bytes.data()) + 1;
    }
    return QString();
}

// Text cut at line ends into the slices that go into an edit one at a time:
// the edit drops each as it takes it, so a file is held about once.
std::vector<std::string> SlicesOf(std::string_view bytes)
{
    std::vector<std::string> slices;
    slices.reserve(bytes.size() / kSliceBytes + 1);
    for (size_t start = 0; start < bytes.size();) {
        const size_t end =
            std::min(bytes.find('\n', std::min(start + kSliceBytes, bytes.size() - 1)), bytes.size() - 1) + 1;
        slices.emplace_back(bytes.substr(start, end - start));
        start = end;
    }
    return slices;
}

bool ReadsListB(ListOperation operation)
{
    return operation == ListOperation::AMinusB || operation == ListOperation::AAndB || operation == ListOperation::AOrB
           || operation == ListOperation::OverlapsOfAWithB;
}

// "none", then "/0" to "/bits"; item index n + 1 is the length n.
void FillSplitLengths(QComboBox* comboBox, int bits)
{
    comboBox->addItem(ListsTabController::tr("none"));
    for (int length = 0; length <= bits; ++length)
        comboBox->addItem(QStringLiteral("/%1").arg(length));
}

QString Grouped(qsizetype count)
{
    return QString::fromStdString(IPv6SubnetPlan::GroupDigits(std::to_string(count)));
}

QString MebibyteText(qsizetype bytes)
{
    return QString::number(static_cast<double>(bytes) / static_cast<double>(kMebibyte), 'f', 1);
}
} // namespace

ListsTabController::ListsTabController(const ControllerContext& context)
    : TabController(context)
{
    m_lists[0].edit = GetUi()->listAEdit;
    m_lists[1].edit = GetUi()->listBEdit;
    for (List& list : m_lists)
        list.lines = new DocumentLines(list.edit->document());
}

QWidget* ListsTabController::GetTabPage()
{
    return GetUi()->listsTab;
}

QList<QObject*> ListsTabController::GetBlockedWidgets()
{
    Ui::OctetryMainForm* ui = GetUi();
    return {ui->listAEdit, ui->listBEdit, ui->listOperationComboBox, ui->listSplitIPv4ComboBox,
            ui->listSplitIPv6ComboBox};
}

bool ListsTabController::IsSettingRelevant(OctetrySettings::Setting setting)
{
    return setting >= OctetrySettings::ListASetting && setting <= OctetrySettings::ListSplitIPv6Setting;
}

void ListsTabController::InitializeView()
{
    Ui::OctetryMainForm* ui = GetUi();
    for (const char* name : kOperationNames)
        ui->listOperationComboBox->addItem(tr(name));
    FillSplitLengths(ui->listSplitIPv4ComboBox, 32);
    FillSplitLengths(ui->listSplitIPv6ComboBox, 128);
    for (List& list : m_lists) {
        connect(list.edit, &QPlainTextEdit::textChanged, this, [this, &list] { OnListChanged(list); });
        list.edit->viewport()->installEventFilter(this);
    }
    connect(ui->listAOpenButton, &QPushButton::clicked, this, [this] { OnOpenClicked(0); });
    connect(ui->listBOpenButton, &QPushButton::clicked, this, [this] { OnOpenClicked(1); });
    connect(ui->listSaveButton, &QPushButton::clicked, this, &ListsTabController::OnSaveClicked);
    connect(ui->listOperationComboBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        const ChangeSource changeSource(this, GetUi()->listOperationComboBox);
        GetSettings()->SetListOperation(index);
    });
    connect(ui->listSplitIPv4ComboBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        const ChangeSource changeSource(this, GetUi()->listSplitIPv4ComboBox);
        GetSettings()->SetListSplitIPv4(index - 1);
    });
    connect(ui->listSplitIPv6ComboBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        const ChangeSource changeSource(this, GetUi()->listSplitIPv6ComboBox);
        GetSettings()->SetListSplitIPv6(index - 1);
    });
    connect(&m_worker, &ListWorker::Finished, this, &ListsTabController::ShowOutcome);
    connect(&m_worker, &ListWorker::Progress, this, &ListsTabController::ShowProgress);
    // Shown and hidden in place: the page around them does not move while it is worked on.
    for (QWidget* widget : std::initializer_list<QWidget*>{ui->listProgressBar, ui->listWorkingLabel}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }
    ShowProgress(-1);
    ui->listSaveButton->setEnabled(false);
    m_sliceTimer.setInterval(0);
    connect(&m_sliceTimer, &QTimer::timeout, this, &ListsTabController::ReadSlices);

    for (LargeTableView* view : {ui->listResultView, ui->listProblemsView}) {
        TabControllerUtil::SetupTableView(view);
        view->SetColumnsShareWidth(true);
    }
    ui->listResultView->setModel(&m_resultModel);
    ui->listProblemsView->setModel(&m_problemModel);
}

void ListsTabController::DoUpdateView(QWidget* source)
{
    Ui::OctetryMainForm* ui = GetUi();
    const OctetrySettings* settings = GetSettings();
    const std::array<const QString*, 2> stored = {&settings->GetListA(), &settings->GetListB()};
    for (size_t n = 0; n < m_lists.size(); ++n) {
        List& list = m_lists[n];
        // A list changed elsewhere (another window's store, a test) replaces the
        // edit's text; the edit's own change, or a long list held, does not.
        if (list.edit != source && *stored[n] != list.stored) {
            list.stored = *stored[n];
            list.heldBytes = 0;
            list.edit->setPlainText(list.stored);
        }
    }
    ui->listOperationComboBox->setCurrentIndex(settings->GetListOperation());
    ui->listSplitIPv4ComboBox->setCurrentIndex(settings->GetListSplitIPv4() + 1);
    ui->listSplitIPv6ComboBox->setCurrentIndex(settings->GetListSplitIPv6() + 1);
    Recompute();
}

void ListsTabController::OnListChanged(List& list)
{
    // A file's slices are not edits: the file is computed whole, and stored once it is in.
    if (list.file && list.fileOnlyNote.isEmpty())
        return;
    // Typing replaces a file the edit could not hold.
    list.file.reset();
    list.fileOnlyNote.clear();
    // A long list's whole text is never made on this thread: its lines follow the edit by themselves.
    // The text's length, without the line break the lines end in.
    const qsizetype bytes = list.lines->ByteCount() - 1;
    list.heldBytes = bytes > kMaxStoredBytes ? bytes : 0;
    list.stored = list.heldBytes != 0 ? QString() : list.edit->toPlainText();
    {
        const ChangeSource changeSource(this, list.edit);
        if (&list == &m_lists[0])
            GetSettings()->SetListA(list.stored);
        else
            GetSettings()->SetListB(list.stored);
    }
    // A held list leaves the store as it was, so no setting change recomputes it.
    Recompute();
}

void ListsTabController::Recompute()
{
    const OctetrySettings* settings = GetSettings();
    const auto operation = static_cast<ListOperation>(settings->GetListOperation());
    // A file being read counts as one revision until it is in.
    const auto revision = [](const List& list) { return list.file ? -3 : list.edit->document()->revision(); };
    const std::array<int, 5> key = {revision(m_lists[0]), ReadsListB(operation) ? revision(m_lists[1]) : -2,
                                    settings->GetListOperation(), settings->GetListSplitIPv4(),
                                    settings->GetListSplitIPv6()};
    ShowNotes();
    if (key == m_computed)
        return;
    m_computed = key;
    ListWorker::Request request;
    // A file being read in is the edit's lines so far, then the slices still to come.
    const auto take = [](const List& list) {
        return list.file ? list.lines->Take().FollowedBy(*list.file) : list.lines->Take();
    };
    request.a = take(m_lists[0]);
    if (ReadsListB(operation))
        request.b = take(m_lists[1]);
    request.input.operation = operation;
    request.input.splitIPv4 = settings->GetListSplitIPv4();
    request.input.splitIPv6 = settings->GetListSplitIPv6();
    m_worker.Start(std::move(request));
}

void ListsTabController::ShowOutcome(const std::shared_ptr<const ListOutcome>& outcome)
{
    Ui::OctetryMainForm* ui = GetUi();
    // The result shares the outcome's lifetime, so no rows are copied.
    m_resultModel.Reset(std::shared_ptr<const ListResult>(outcome, &outcome->result));
    m_problemModel.Reset(outcome);
    ui->listResultView->resizeColumnsToContents();
    ui->listProblemsView->resizeColumnsToContents();
    ui->listSaveButton->setEnabled(m_resultModel.rowCount() > 0);

    const ListResult& result = outcome->result;
    const UInt128 rows = result.GetRowCount();
    QStringList counts;
    counts << tr("Items read: %1 in A, %2 in B.")
                  .arg(Grouped(static_cast<qsizetype>(outcome->itemsA)),
                       Grouped(static_cast<qsizetype>(outcome->itemsB)));
    counts
        << tr("Addresses: %1 IPv4, %2 IPv6.")
               .arg(QString::fromStdString(IPv6SubnetPlan::GroupDigits(result.AddressCountText(AddressFamily::IPv4))),
                    QString::fromStdString(IPv6SubnetPlan::GroupDigits(result.AddressCountText(AddressFamily::IPv6))));
    counts << tr("Rows: %1.").arg(QString::fromStdString(IPv6SubnetPlan::GroupDigits(result.RowCountText())));
    ui->listCountsLabel->setText(counts.join(QLatin1Char(' ')));
    const size_t problems = outcome->problemsA.size() + outcome->problemsB.size();
    ui->listProblemsLabel->setText(problems == 0 ? tr("P&roblems: none")
                                                 : tr("P&roblems: %1").arg(Grouped(static_cast<qsizetype>(problems))));

    m_windowNote.clear();
    if (rows > static_cast<UInt128>(IPv6SubnetPlan::MaxRows))
        m_windowNote =
            tr("The first %1 rows are shown.")
                .arg(QString::fromStdString(IPv6SubnetPlan::GroupDigits(std::to_string(IPv6SubnetPlan::MaxRows))));
    if (result.GetDroppedOverlaps() > 0)
        m_windowNote += (m_windowNote.isEmpty() ? QString() : QStringLiteral(" "))
                        + tr("%1 more overlapping pairs are counted, not listed.")
                              .arg(QString::fromStdString(IPv6SubnetPlan::GroupDigits(
                                  IPv6SubnetPlan::DecimalText(result.GetDroppedOverlaps()))));
    ShowNotes();
    // A file read meanwhile waited for this result before going into its edit.
    if (!m_sliceTimer.isActive() && std::any_of(m_lists.begin(), m_lists.end(), [](const List& list) {
            return list.file && list.fileOnlyNote.isEmpty();
        }))
        ReadSlices();
}

void ListsTabController::ShowNotes()
{
    QStringList notes;
    for (size_t n = 0; n < m_lists.size(); ++n) {
        if (!m_lists[n].fileOnlyNote.isEmpty())
            notes << m_lists[n].fileOnlyNote;
        else if (m_lists[n].file)
            notes << tr("Reading list %1 into its editor: %2 %.")
                         .arg(QLatin1String(kListNames[n]))
                         .arg(m_lists[n].fileRead * 100 / std::max<qsizetype>(1, m_lists[n].fileBytes));
        if (m_lists[n].heldBytes != 0)
            notes << tr("List %1 (%2 MiB) is kept until Octetry quits, but not stored: lists of up to 1 MiB are.")
                         .arg(QLatin1String(kListNames[n]), MebibyteText(m_lists[n].heldBytes));
    }
    if (!m_windowNote.isEmpty())
        notes << m_windowNote;
    TabControllerUtil::ShowNote(GetUi()->listNoteLabel, notes.join(QLatin1Char(' ')));
}

void ListsTabController::ShowProgress(int permille)
{
    Ui::OctetryMainForm* ui = GetUi();
    ui->listProgressBar->setVisible(permille >= 0);
    ui->listWorkingLabel->setVisible(permille >= 0);
    if (permille >= 0)
        ui->listProgressBar->setValue(permille);
}

void ListsTabController::OnOpenClicked(int list)
{
    const QString fileName =
        QFileDialog::getOpenFileName(GetForm(), tr("Open List %1").arg(QLatin1String(kListNames[list])), QString(),
                                     tr("Text files (*.txt *.csv *.lst);;All files (*)"));
    if (!fileName.isEmpty())
        OpenList(list, fileName);
}

void ListsTabController::OpenList(int list, const QString& fileName)
{
    // Reading, copying and checking a long file would hold the window, so a thread of the pool does it.
    struct Read
    {
        QString error;
        QString notEditable;
        std::optional<DocumentLines::Snapshot> snapshot;
    };
    const int generation = ++m_lists[static_cast<size_t>(list)].openGeneration;
    m_readPool.start([this, list, fileName, generation] {
        auto read = std::make_shared<Read>();
        QFile file(fileName);
        if (QFileInfo(fileName).size() > kMaxOpenBytes)
            read->error = tr("The file is larger than %1 MiB.").arg(kMaxOpenBytes / kMebibyte);
        else if (!file.open(QIODevice::ReadOnly))
            read->error = file.errorString();
        std::string bytes;
        if (read->error.isEmpty() && (file.isSequential() || file.size() == 0)) {
            bytes = file.readAll().toStdString();
        } else if (read->error.isEmpty()) {
            // Room for the line break the snapshot adds, so it is not copied for it.
            bytes.reserve(static_cast<size_t>(file.size()) + 1);
            bytes.resize(static_cast<size_t>(file.size()));
            const qint64 got = file.read(bytes.data(), static_cast<qint64>(bytes.size()));
            bytes.resize(static_cast<size_t>(std::max<qint64>(0, got)));
        }
        if (read->error.isEmpty() && file.error() != QFileDevice::NoError)
            read->error = file.errorString();
        if (read->error.isEmpty()) {
            read->notEditable = NotEditable(bytes);
            std::vector<std::string> pieces;
            pieces.push_back(std::move(bytes));
            read->snapshot = DocumentLines::Snapshot::Of(std::move(pieces));
        }
        QMetaObject::invokeMethod(this, [this, list, fileName, generation, read] {
            // A later open of the same list replaces this one.
            if (generation == m_lists[static_cast<size_t>(list)].openGeneration)
                ShowFile(list, fileName, read->error, read->notEditable, read->snapshot);
        });
    });
}

void ListsTabController::ShowFile(int list, const QString& fileName, const QString& error, const QString& notEditable,
                                  const std::optional<DocumentLines::Snapshot>& snapshot)
{
    const QString name = QDir::toNativeSeparators(fileName);
    if (!error.isEmpty()) {
        QMessageBox::warning(GetForm(), tr("Open List %1").arg(QLatin1String(kListNames[static_cast<size_t>(list)])),
                             tr("%1 could not be read: %2").arg(name, error));
        return;
    }
    List& target = m_lists[static_cast<size_t>(list)];
    target.edit->clear();
    target.file = snapshot;
    // Whatever the last computation read, this file is new to it.
    m_computed[static_cast<size_t>(list)] = INT_MIN;
    if (!notEditable.isEmpty()) {
        target.fileOnlyNote =
            tr("List %1 is read from %2 (%3 MiB) and not shown in its editor: %4. Typing into the editor replaces it.")
                .arg(QLatin1String(kListNames[static_cast<size_t>(list)]), name,
                     MebibyteText(snapshot->ByteCount() - 1), notEditable);
        target.heldBytes = 0;
        target.stored.clear();
        target.edit->setReadOnly(false);
        const ChangeSource changeSource(this, target.edit);
        list == 0 ? GetSettings()->SetListA(QString()) : GetSettings()->SetListB(QString());
        Recompute();
        return;
    }
    target.edit->setReadOnly(true);
    target.edit->document()->setUndoRedoEnabled(false);
    target.fileRead = 0;
    target.fileSliced = false;
    target.fileBytes = snapshot->ByteCount();
    Recompute();
    // The result comes first: filling the edit meanwhile would take half the machine from it.
    if (!m_worker.IsBusy())
        ReadSlices();
}

void ListsTabController::ReadSlices()
{
    m_sliceTimer.stop();
    QElapsedTimer turn;
    turn.start();
    for (List& list : m_lists) {
        const auto index = static_cast<size_t>(&list - m_lists.data());
        // Slices until the turn's time is spent, then the event loop runs before the next.
        // Cut here, not where the file was read: memory one thread frees is not given to another.
        if (list.file && list.fileOnlyNote.isEmpty() && !list.fileSliced) {
            const std::string_view bytes = list.file->Front();
            list.file = DocumentLines::Snapshot::Of(SlicesOf(bytes.substr(0, bytes.size() - 1)));
            list.fileSliced = true;
        }
        while (list.file && list.fileOnlyNote.isEmpty() && !turn.hasExpired(kSliceMs)) {
            std::string_view slice = list.file->Front();
            // The last slice's line break is the snapshot's own.
            const bool last = list.fileRead + static_cast<qsizetype>(slice.size()) >= list.fileBytes;
            if (last)
                slice.remove_suffix(1);
            // A block a line would cost a long list's edit more than the rest of the program.
            DocumentLines::Append(list.edit->document(), QString::fromUtf8(slice.data(), std::ssize(slice)),
                                  list.fileBytes > kMaxStoredBytes);
            list.fileRead += std::ssize(list.file->Front());
            list.file->PopFront();
            if (!last)
                continue;
            // Filling is no edit to undo, and its undo steps would cost as much as the text.
            list.edit->document()->setUndoRedoEnabled(true);
            // In: the edit holds the file, computed already unless a choice changed meanwhile.
            const bool computed = m_computed[index] == -3;
            list.file.reset();
            list.edit->setReadOnly(false);
            if (computed)
                m_computed[index] = list.edit->document()->revision();
            OnListChanged(list);
        }
        if (list.file && list.fileOnlyNote.isEmpty())
            m_sliceTimer.start();
    }
    ShowNotes();
}

void ListsTabController::OnSaveClicked()
{
    QString filter;
    QString fileName = QFileDialog::getSaveFileName(GetForm(), tr("Save Result"), QString(),
                                                    tr("Text files (*.txt);;CSV files (*.csv)"), &filter);
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += filter.contains(QLatin1String("*.csv")) ? QStringLiteral(".csv") : QStringLiteral(".txt");
    SaveResult(fileName);
}

bool ListsTabController::SaveResult(const QString& fileName)
{
    const std::shared_ptr<const ListResult>& result = m_resultModel.GetResult();
    if (!result)
        return false;
    const ListResultWriter::Format format =
        QFileInfo(fileName).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0
            ? ListResultWriter::Format::Csv
            : ListResultWriter::Format::Text;
    QSaveFile file(fileName);
    const bool saved = file.open(QIODevice::WriteOnly)
                       && ListResultWriter::Write(*result, format, file, static_cast<UInt128>(m_resultModel.rowCount()))
                       && file.commit();
    if (!saved) {
        QMessageBox::warning(
            GetForm(), tr("Save Result"),
            tr("The result could not be saved to %1: %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
    }
    return saved;
}

bool ListsTabController::eventFilter(QObject* watched, QEvent* event)
{
    for (size_t n = 0; n < m_lists.size(); ++n) {
        if (watched != m_lists[n].edit->viewport())
            continue;
        if (event->type() != QEvent::DragEnter && event->type() != QEvent::DragMove && event->type() != QEvent::Drop)
            break;
        auto* drop = static_cast<QDropEvent*>(event);
        const QList<QUrl> urls = drop->mimeData()->urls();
        // Text dropped is the edit's own business; one local file is read instead of its name inserted.
        if (urls.size() != 1 || !urls.front().isLocalFile())
            break;
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop)
            OpenList(static_cast<int>(n), urls.front().toLocalFile());
        return true;
    }
    return TabController::eventFilter(watched, event);
}
