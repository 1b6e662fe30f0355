#include "neueverwaltung.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStorageInfo>
#include <QVBoxLayout>
#include <store/error.h>
#include <store/listfile.h>
#include <ui/guard.h>
#include <ui/interaction.h>

namespace quorbel {

namespace {

const QString kUp = QStringLiteral("..");

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

} // namespace

DirectoryListBox::DirectoryListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void DirectoryListBox::changeInto(const QListWidgetItem* item)
{
    if (!item)
        return;
    // A directory that vanished since it was listed throws, for the default error dialog.
    setDirectory(QDir(m_directory).absoluteFilePath(item->text()));
}

void DirectoryListBox::setDirectory(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        throw store::FileError(
            QStringLiteral("Das Verzeichnis %1 existiert nicht.").arg(QDir::toNativeSeparators(path)));
    QDir dir(info.absoluteFilePath());
    if (!dir.isReadable())
        throw store::FileError(QStringLiteral("Das Verzeichnis %1 kann nicht gelesen werden.")
                                   .arg(QDir::toNativeSeparators(path)));
    m_directory = QDir::cleanPath(dir.absolutePath());
    clear();
    if (!dir.isRoot())
        addItem(kUp);
    const QStringList names =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    addItems(names);
    setCurrentRow(-1);
    emit directoryChanged(m_directory);
}

TForm_NeueVerwaltung::TForm_NeueVerwaltung(Interaction& ui, QWidget* parent) : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("Form_NeueVerwaltung"));
    setWindowTitle(QStringLiteral("Neue Videoliste erstellen"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    GroupBox_Verzeichnis = new QGroupBox(QStringLiteral("&Verzeichnis"), this);
    GroupBox_Verzeichnis->setObjectName(QStringLiteral("GroupBox_Verzeichnis"));
    GroupBox_Verzeichnis->setAccessibleName(QStringLiteral("Verzeichnis"));

    Label_Verzeichnis = new QLabel(GroupBox_Verzeichnis);
    Label_Verzeichnis->setObjectName(QStringLiteral("Label_Verzeichnis"));
    Label_Verzeichnis->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label_Verzeichnis->setWordWrap(true);

    VerzeichnisBox = new DirectoryListBox(GroupBox_Verzeichnis);
    VerzeichnisBox->setObjectName(QStringLiteral("VerzeichnisBox"));
    VerzeichnisBox->setAccessibleName(QStringLiteral("Verzeichnis"));

    DriveComboBox1 = new QComboBox(GroupBox_Verzeichnis);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setAccessibleName(QStringLiteral("Laufwerk"));

    auto* dirLayout = new QVBoxLayout(GroupBox_Verzeichnis);
    dirLayout->addWidget(Label_Verzeichnis);
    dirLayout->addWidget(VerzeichnisBox, 1);
    dirLayout->addWidget(DriveComboBox1);

    BitBtn_NeuesVerzeichnis = new QPushButton(QStringLiteral("&Neues Verzeichnis erstellen"), this);
    BitBtn_NeuesVerzeichnis->setObjectName(QStringLiteral("BitBtn_NeuesVerzeichnis"));
    BitBtn_NeuesVerzeichnis->setAccessibleName(QStringLiteral("Neues Verzeichnis erstellen"));

    GroupBox1 = new QGroupBox(QStringLiteral("&Dateiname"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setAccessibleName(QStringLiteral("Dateiname"));
    Edit_Dateiname = new QLineEdit(GroupBox1);
    Edit_Dateiname->setObjectName(QStringLiteral("Edit_Dateiname"));
    Edit_Dateiname->setAccessibleName(QStringLiteral("Dateiname"));
    auto* nameLayout = new QHBoxLayout(GroupBox1);
    nameLayout->addWidget(Edit_Dateiname);

    BitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAccessibleName(QStringLiteral("OK"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("&Abbruch"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAccessibleName(QStringLiteral("Abbruch"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox_Verzeichnis, 1);
    layout->addWidget(BitBtn_NeuesVerzeichnis);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);
    setFixedSize(360, 440);

    connectGuarded(VerzeichnisBox, &DirectoryListBox::directoryChanged, this, m_ui,
                   [this](const QString& path) {
                       Label_Verzeichnis->setText(QDir::toNativeSeparators(path));
                       showDrive(path);
                   });
    connectGuarded(VerzeichnisBox, &QListWidget::itemActivated, this, m_ui,
                   [this](QListWidgetItem* item) { VerzeichnisBox->changeInto(item); });
    connectGuarded(BitBtn_NeuesVerzeichnis, &QPushButton::clicked, this, m_ui,
                   [this](auto&&...) { BitBtn_NeuesVerzeichnisClick(); });
    connectGuarded(BitBtn1, &QPushButton::clicked, this, m_ui, [this](auto&&...) { BitBtn1Click(); });
    connectGuarded(BitBtn2, &QPushButton::clicked, this, m_ui, [this](auto&&...) { BitBtn2Click(); });

    fillDrives();
    // Starts at the current directory, which is the program directory at start-up.
    try {
        VerzeichnisBox->setDirectory(QDir::currentPath());
    } catch (const store::Error&) {
        VerzeichnisBox->setDirectory(QDir::rootPath());
    }
    connectGuarded(DriveComboBox1, &QComboBox::activated, this, m_ui,
                   [this](int index) { DriveComboBox1Change(index); });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TForm_NeueVerwaltung::fillDrives()
{
    fillDrives(QStorageInfo::mountedVolumes());
}

void TForm_NeueVerwaltung::fillDrives(const QList<QStorageInfo>& volumes)
{
    DriveComboBox1->clear();
    const auto add = [this](const QString& path, const QString& name) {
        const QString root = QDir::cleanPath(path);
        if (root.isEmpty() || DriveComboBox1->findData(root) >= 0)
            return;
        QString label = QDir::toNativeSeparators(root);
        if (!name.isEmpty())
            label += QStringLiteral("  [%1]").arg(name);
        DriveComboBox1->addItem(label, root);
    };
    for (const QStorageInfo& volume : volumes) {
        if (volume.isValid() && volume.isReady())
            add(volume.rootPath(), volume.name());
    }
    // In a container or a chroot the system may list no volume at all, or none that
    // holds the root: the root directory and the user's home are always offered.
    add(QDir::rootPath(), QString());
    add(QDir::homePath(), QString());
    if (!VerzeichnisBox->directory().isEmpty())
        showDrive(VerzeichnisBox->directory());
}

void TForm_NeueVerwaltung::showDrive(const QString& path)
{
    // The choice whose directory holds the path most closely.
    const QString target = QDir::cleanPath(path);
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < DriveComboBox1->count(); ++i) {
        const QString root = DriveComboBox1->itemData(i).toString();
        const bool holds =
            target == root ||
            target.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'), kPathCase);
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best >= 0)
        DriveComboBox1->setCurrentIndex(best);
}

void TForm_NeueVerwaltung::DriveComboBox1Change(int index)
{
    const QString root = DriveComboBox1->itemData(index).toString();
    if (!root.isEmpty())
        VerzeichnisBox->setDirectory(root);
}

void TForm_NeueVerwaltung::BitBtn_NeuesVerzeichnisClick()
{
    const QString name = m_ui.inputBox(QStringLiteral("Verzeichnis erstellen"),
                                       QStringLiteral("Bitte Verzeichnisname eingeben"), QString());
    // Only a sub-directory of the listed directory is made: a name that is a path of its
    // own (a separator, an absolute path, "..") would create it anywhere. Such a name is
    // refused like any other failure, and the list stays where it is.
    const bool isSubdirectoryName = !name.isEmpty() && name != QStringLiteral(".") && name != kUp &&
                                    !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
                                    !QDir::isAbsolutePath(name);
    if (!isSubdirectoryName) {
        m_ui.error(QStringLiteral("Verzeichnis existiert bereits"));
        return;
    }
    const QDir listed(VerzeichnisBox->directory());
    if (!listed.mkdir(name))
        m_ui.error(QStringLiteral("Verzeichnis existiert bereits"));
    // The list follows the new directory; a name that is no directory (a file of that
    // name) is reported by the default error dialog.
    VerzeichnisBox->setDirectory(listed.filePath(name));
}

void TForm_NeueVerwaltung::BitBtn1Click()
{
    const QString name = Edit_Dateiname->text();
    if (name.isEmpty()) {
        m_ui.error(QStringLiteral("Es wurde kein Dateiname eingegeben !"));
        return;
    }
    if (name.contains(QLatin1Char('.'))) {
        m_ui.error(QStringLiteral("Der Dateiname darf kein '.' enthalten !"));
        return;
    }
    const QString dir = VerzeichnisBox->directory();
    if (!QDir::setCurrent(dir))
        throw store::FileError(QStringLiteral("Das Verzeichnis %1 kann nicht geöffnet werden.")
                                   .arg(QDir::toNativeSeparators(dir)));
    const QString listFile = name + QStringLiteral(".qbx");
    if (QFileInfo::exists(listFile)) {
        m_ui.error(QStringLiteral("Datei existiert bereits !"));
        return;
    }
    // The list file must lie in the collection directory itself: a name with a
    // separator would put it elsewhere, away from its tables.
    bool valid = !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
    if (valid) {
        QFile trial(listFile);
        valid = trial.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        trial.close();
        valid = valid && trial.remove();
    }
    if (!valid) {
        m_ui.error(QStringLiteral("Ungültiger Dateiname !"));
        return;
    }
    m_resultDirectory = dir;
    m_listFileName = listFile;
    m_collectionNumber = store::nextCollectionNumber(dir);
    Edit_Dateiname->clear();
    accept();
}

void TForm_NeueVerwaltung::BitBtn2Click()
{
    Edit_Dateiname->clear();
    reject();
}

} // namespace quorbel
