#pragma once

#include <QDialog>
#include <QListWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStorageInfo;

namespace quorbel {

class Interaction;

// A list of the sub-directories of one directory, with ".." to go up.
class DirectoryListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit DirectoryListBox(QWidget* parent = nullptr);

    QString directory() const { return m_directory; }
    // Lists `path`; throws store::FileError when it is not a directory that can be read.
    void setDirectory(const QString& path);
    // Changes into the sub-directory of `item`, or up for "..". The owner connects
    // itemActivated (double click, Enter) to it.
    void changeInto(const QListWidgetItem* item);

signals:
    void directoryChanged(const QString& path);

private:
    QString m_directory;
};

// The dialog "Neue Videoliste erstellen": directory, drive and name of a new collection.
class TForm_NeueVerwaltung : public QDialog
{
    Q_OBJECT
public:
    TForm_NeueVerwaltung(Interaction& ui, QWidget* parent = nullptr);

    // Results for creating the collection, valid after the dialog closed with OK.
    QString directory() const { return m_resultDirectory; } // without trailing separator
    QString listFileName() const { return m_listFileName; } // "<name>.qbx", relative to directory()
    int collectionNumber() const { return m_collectionNumber; }

    // Handlers of the buttons.
    void BitBtn_NeuesVerzeichnisClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void DriveComboBox1Change(int index);

    // Fills the drive choice from the given volumes, with the root directory and the
    // user's home always among them, each once.
    void fillDrives(const QList<QStorageInfo>& volumes);

    QGroupBox* GroupBox_Verzeichnis;
    QLabel* Label_Verzeichnis;
    DirectoryListBox* VerzeichnisBox;
    QComboBox* DriveComboBox1;
    QPushButton* BitBtn_NeuesVerzeichnis;
    QGroupBox* GroupBox1;
    QLineEdit* Edit_Dateiname;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

private:
    void fillDrives();
    void showDrive(const QString& path);

    Interaction& m_ui;
    QString m_resultDirectory;
    QString m_listFileName;
    int m_collectionNumber = 0;
};

} // namespace quorbel
