#pragma once

#include "EditorSettings.h"
#include "PictureTable.h"

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TMainWindow;
class TImage;

// The settings screen: the lamp's port, the main window's background and the
// look of the STEP5 program editor. Only its OK writes "set.ini".
class TSettingsScreen : public QDialog {
    Q_OBJECT
public:
    explicit TSettingsScreen(TMainWindow &mainWindow);

    // The thumbnail chosen in this run ("bg1.jpg" until one is clicked).
    const QString &ChosenBackground() const { return m_backPicture; }
    const TEditorSettings &Sample() const { return m_sample; }
    int PortChoice() const;

    // Page indexes of PageControl1, in the order of the topic tree.
    enum Page { PagePort, PagePortName, PageEditor, PageSize, PageBackColor, PageFontColor, PageFontName,
                PageBackPicture, PageCount };

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void CreateControls();
    void CreateTopicTree();
    void CreatePages();
    QWidget *CreatePortNamePage();
    QWidget *CreateSizePage();
    QWidget *CreateColorPage(const QString &intro, const QString &title, const QString &prefix, bool background);
    QWidget *CreateFontNamePage();
    QWidget *CreateBackPicturePage();
    // Reads the keys the screen shows; false when a colour text could not be read.
    bool ReadSettings();
    void ShowSample();
    void ShowPortDevices();
    void ApplyPrintBufferFont(int size, const QString &name);
    void TreeView1Change(QTreeWidgetItem *item);
    void ThumbnailClick(int number);
    void PreviewClick();
    void TestButtonClick();
    void Image1Click(); // OK
    void Image2Click(); // cancel
    QString PortName(int choice) const;

    TMainWindow &m_main;
    TPictureLoader m_pictures;
    TEditorSettings m_sample;
    QString m_backPicture = SettingsKeys::DefaultBackPicture;
    // The port name in use before the test button reopened the port, so that
    // cancel can put it back.
    QString m_portBeforeTest;

    TImage *Image3 = nullptr;          // background of the screen
    QTreeWidget *TreeView1 = nullptr;
    QStackedWidget *PageControl1 = nullptr;
    QGroupBox *GroupBox1 = nullptr;    // "サンプル"
    QLineEdit *Edit1 = nullptr;
    TImage *Image1 = nullptr;          // OK
    TImage *Image2 = nullptr;          // cancel
    std::array<QRadioButton *, 4> RadioButtons{};
    std::array<QLabel *, 4> DeviceLabels{};
    QLabel *Label_TestStatus = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QListWidget *ListBox1 = nullptr;
    std::array<TImage *, 12> Thumbnails{};
    TImage *Image4 = nullptr;          // preview of the chosen background
};
