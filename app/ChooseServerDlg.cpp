#include "ChooseServerDlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "Cp1252.h"
#include "ShareLocation.h"
#include "ShownText.h"

namespace {

enum Column { Product, Version, Serial, Address };

// How often the probes are looked after: often enough that a share shows as
// soon as its probe answers.
constexpr int kStepInterval = 50;
// A row's data: its address (bytes), whether its share answered, and why not.
constexpr int kAddressRole = Qt::UserRole;
constexpr int kReachedRole = Qt::UserRole + 1;
constexpr int kProblemRole = Qt::UserRole + 2;

// The target of what was typed: a host (a name or address, ":PORT" as
// needed, also written as smb://host) or one share's address.
bool targetOf(const std::string& typed, ProbeTarget& target) {
    NetworkPath network;
    if (!ParseNetworkPath(typed, network)) return HostTarget(typed, target);
    if (network.share.empty()) return HostTarget(network.host + (network.port.empty() ? "" : ":" + network.port), target);
    target = {SmbAddress(network), FoundBy::Smb};
    return true;
}

QString nameText(const std::string& name) { return QString::fromStdString(ShownName(name)); }

QTreeWidgetItem* rowOf(const FoundShare& share) {
    auto* row = new QTreeWidgetItem;
    row->setData(Product, kAddressRole, QByteArray::fromStdString(share.address));
    row->setData(Product, kReachedRole, share.reached);
    row->setText(Address, nameText(share.address));
    if (share.reached) {
        row->setText(Product, FromServerText(share.product));
        row->setText(Version, FromServerText(share.version));
        row->setText(Serial, FromServerText(share.serial));
        return row;
    }
    // A share opened before that is not there now.
    row->setText(Product, QObject::tr("Not available"));
    const QString why = nameText(share.problem);
    row->setData(Product, kProblemRole, why);
    for (int column = Product; column <= Address; ++column) {
        row->setToolTip(column, why);
        row->setForeground(column, QPalette().brush(QPalette::Disabled, QPalette::Text));
    }
    return row;
}

}  // namespace

ChooseServerDlg::ChooseServerDlg(const std::vector<ProbeTarget>& targets, FolderChooser otherFolder, QWidget* parent)
    : QDialog(parent), otherFolder(std::move(otherFolder)), servers(new QTreeWidget(this)), status(new QLabel(this)),
      busy(new QProgressBar(this)), host(new QLineEdit(this)), lookUpButton(new QPushButton(tr("&Look Up"), this)),
      timer(new QTimer(this)) {
    setWindowTitle(tr("Choose a Server"));
    setUpControls();
    auto* folderButton = new QPushButton(tr("Other &Folder…"), this);
    folderButton->setObjectName(QStringLiteral("otherFolder"));
    auto* buttons = new QDialogButtonBox(this);
    openButton = buttons->addButton(tr("&Open"), QDialogButtonBox::AcceptRole);
    openButton->setObjectName(QStringLiteral("open"));
    openButton->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    layOut(folderButton, buttons);

    connect(servers, &QTreeWidget::itemDoubleClicked, this, &ChooseServerDlg::openChosen);
    connect(servers, &QTreeWidget::currentItemChanged, this, [this] {
        moved = true;
        updateState();
    });
    connect(host, &QLineEdit::textChanged, this, &ChooseServerDlg::updateState);
    connect(lookUpButton, &QPushButton::clicked, this, &ChooseServerDlg::lookUp);
    connect(folderButton, &QPushButton::clicked, this, &ChooseServerDlg::chooseOtherFolder);
    connect(openButton, &QPushButton::clicked, this, &ChooseServerDlg::openChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(timer, &QTimer::timeout, this, &ChooseServerDlg::step);

    // The probes inherit who connects from the environment, as the program does.
    Discovery::Options settings;
    settings.program = ProbeProgram();
    discovery = std::make_unique<Discovery>(settings, [this](const FoundShare& share) { reported(share); });
    for (const ProbeTarget& target : targets) discovery->Add(target);
    searching = !targets.empty();
    if (searching) timer->start(kStepInterval);
    servers->setFocus();
    updateState();
}

void ChooseServerDlg::setUpControls() {
    servers->setObjectName(QStringLiteral("servers"));
    servers->setAccessibleName(tr("Servers found"));
    servers->setHeaderLabels({tr("Product"), tr("Version"), tr("Serial Number"), tr("Address")});
    servers->setRootIsDecorated(false);
    servers->setUniformRowHeights(true);
    servers->setAllColumnsShowFocus(true);
    for (int column : {Product, Version, Serial}) servers->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    servers->header()->setStretchLastSection(true);
    status->setObjectName(QStringLiteral("status"));
    status->setAccessibleName(tr("Search status"));
    status->setTextFormat(Qt::PlainText);
    status->setWordWrap(true);
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    busy->setAccessibleName(tr("Searching"));
    busy->setMaximumWidth(fontMetrics().height() * 6);
    host->setObjectName(QStringLiteral("host"));
    host->setAccessibleName(tr("Host name or address"));
    host->setAccessibleDescription(tr("A host whose shares are looked up: a name or address, with :port when needed"));
    host->setPlaceholderText(tr("Name or address, such as tessaron1 or 192.168.1.20"));
    host->setClearButtonEnabled(true);
    lookUpButton->setObjectName(QStringLiteral("lookUp"));
}

void ChooseServerDlg::layOut(QWidget* folderButton, QWidget* buttons) {
    auto* serversLabel = new QLabel(tr("&Servers found:"), this);
    serversLabel->setBuddy(servers);
    auto* hostLabel = new QLabel(tr("&Host:"), this);
    hostLabel->setBuddy(host);
    auto* statusLine = new QHBoxLayout;
    statusLine->addWidget(status, 1);
    statusLine->addWidget(busy);
    auto* hostLine = new QHBoxLayout;
    hostLine->addWidget(hostLabel);
    hostLine->addWidget(host, 1);
    hostLine->addWidget(lookUpButton);
    auto* buttonLine = new QHBoxLayout;
    buttonLine->addWidget(folderButton);
    buttonLine->addWidget(buttons, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(serversLabel);
    layout->addWidget(servers, 1);
    layout->addLayout(statusLine);
    layout->addLayout(hostLine);
    layout->addLayout(buttonLine);
    // Room for a few servers and their addresses at any font.
    const QFontMetrics metrics = fontMetrics();
    resize(metrics.horizontalAdvance(QLatin1Char('x')) * 100, metrics.height() * 24);
}

ChooseServerDlg::~ChooseServerDlg() = default;

std::string ChooseServerDlg::Choose() { return exec() == QDialog::Accepted ? chosen : std::string(); }

bool ChooseServerDlg::listed(const FoundShare& share) {
    return share.reached ? share.appliance : share.how == FoundBy::Recent;
}

void ChooseServerDlg::reported(const FoundShare& share) {
    found.push_back(share);
    if (!share.reached && share.how == FoundBy::Smb) {
        hostProblem = QString::fromStdString(NotReachedText(share));
    }
    if (lookingUp && share.how == FoundBy::Smb && share.appliance) {
        lookingUp = false;
        select = share.address;
    }
}

void ChooseServerDlg::step() {
    const size_t before = found.size();
    searching = discovery->Step(std::chrono::milliseconds(0));
    if (!searching) {
        timer->stop();
        lookingUp = false;
    }
    if (found.size() != before) refill();
    updateState();
}

void ChooseServerDlg::refill() {
    QTreeWidgetItem* current = servers->currentItem();
    const QByteArray currentAddress = current ? current->data(Product, kAddressRole).toByteArray() : QByteArray();
    // Until the user moves in the list, the first server stays current, whichever answered first.
    const QByteArray wanted = !select.empty() ? QByteArray::fromStdString(select) : moved ? currentAddress : QByteArray();
    moved = moved || !select.empty();
    select.clear();
    const QSignalBlocker quiet(servers);
    servers->clear();
    for (const FoundShare& share : Distinct(found)) {
        if (listed(share)) servers->addTopLevelItem(rowOf(share));
    }
    // The row wanted, else the first server that answered.
    QTreeWidgetItem* next = nullptr;
    for (int i = servers->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* row = servers->topLevelItem(i);
        if (row->data(Product, kReachedRole).toBool() || !next || !next->data(Product, kReachedRole).toBool()) {
            next = row;
        }
    }
    for (int i = 0; i < servers->topLevelItemCount(); ++i) {
        if (servers->topLevelItem(i)->data(Product, kAddressRole).toByteArray() == wanted) next = servers->topLevelItem(i);
    }
    servers->setCurrentItem(next);
    // A host just looked up from the host field: its server is where Enter opens it.
    if (!wanted.isEmpty() && wanted != currentAddress && (host->hasFocus() || lookUpButton->hasFocus())) {
        servers->setFocus();
    }
}

void ChooseServerDlg::lookUp() {
    const QString typed = host->text().trimmed();
    if (typed.isEmpty()) return;
    ProbeTarget target;
    if (!targetOf(QFile::encodeName(typed).toStdString(), target)) {
        hostProblem = tr("“%1” is not a host name or address.").arg(typed);
        host->setFocus();
        host->selectAll();
        updateState();
        return;
    }
    hostProblem.clear();
    lookingUp = true;
    discovery->Add(target);
    searching = true;
    timer->start(kStepInterval);
    updateState();
}

void ChooseServerDlg::openChosen() {
    const QTreeWidgetItem* current = servers->currentItem();
    if (!current) return;
    chosen = current->data(Product, kAddressRole).toByteArray().toStdString();
    accept();
}

void ChooseServerDlg::chooseOtherFolder() {
    const std::string folder = otherFolder ? otherFolder() : std::string();
    if (folder.empty()) return;
    chosen = folder;
    accept();
}

void ChooseServerDlg::updateState() {
    int appliances = 0;
    for (int i = 0; i < servers->topLevelItemCount(); ++i) {
        appliances += servers->topLevelItem(i)->data(Product, kReachedRole).toBool() ? 1 : 0;
    }
    // What the keyboard's user cannot read from a tooltip: why the share chosen is not available.
    const QTreeWidgetItem* current = servers->currentItem();
    QString text = hostProblem;
    if (text.isEmpty() && current && !current->data(Product, kReachedRole).toBool()) {
        text = tr("Not available: %1").arg(current->data(Product, kProblemRole).toString());
    }
    if (text.isEmpty() && searching) text = tr("Searching for servers…");
    if (text.isEmpty() && appliances == 0) {
        text = tr("No server found. Enter a host name or address and choose Look Up, or choose Other Folder.");
    }
    if (text.isEmpty()) text = appliances == 1 ? tr("1 server found.") : tr("%1 servers found.").arg(appliances);
    status->setText(text);
    busy->setVisible(searching);
    openButton->setEnabled(current != nullptr);
    lookUpButton->setEnabled(!host->text().trimmed().isEmpty());
}

void ChooseServerDlg::keyPressEvent(QKeyEvent* event) {
    // Enter in the host field looks the host up; elsewhere it opens.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && host->hasFocus()) {
        lookUp();
        return;
    }
    QDialog::keyPressEvent(event);
}
