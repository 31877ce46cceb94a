#pragma once
// The main window: a skinned, borderless view of the preview, the timeline, the output settings,
// the source list and the command buttons. It launches the product links itself through the
// shell launcher it is handed; every other command leaves as a signal for its handler.
#include "app/KeyboardCommands.h"
#include "skin/widgets/SkinnedWindow.h"
#include "media/widgets/TimelinePanel.h"
#include "media/widgets/VideoWindow.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class IShellLauncher;
class PictureButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;
class QTreeView;

class TFrmMainForm : public SkinnedWindow {
    Q_OBJECT
public:
    using TrimFunction = std::function<void()>;

    // programFolder ends with the path separator; trim runs once a second (default: return
    // freed heap memory to the system).
    TFrmMainForm(IShellLauncher &shell, const QString &programFolder, TrimFunction trim = {},
                 QWidget *parent = nullptr);
    ~TFrmMainForm() override;

    // Product links, known once the product information has been read.
    void setHomePage(const QString &address) { m_homePage = address; }
    void setSupportEmail(const QString &address) { m_supportEmail = address; }
    void setCodecDownloadAddress(const QString &address) { m_codecAddress = address; }
    QString codecDownloadAddress() const { return m_codecAddress; }

    // While a conversion runs the window is locked: every control but the window buttons
    // (minimize, close) and the title is disabled, and keys and dropped files do nothing. The
    // window itself stays enabled, so that its close button can ask whether to stop.
    void setRunLocked(bool locked);
    bool isRunLocked() const { return m_runLocked; }

    // Runs a command as its button's click would, also while that button is disabled or hidden.
    void performCommand(MainCommand command);

    // Window commands and product links (named after their controls' actions).
    void actMinimizeExecute();
    void actCloseWindowExecute();
    void ActSysHomePageExecute();
    void ActSysEmailExecute();
    void ActSysHelpExecute();
    void ActSysAboutExecute();
    void Label3Click();

    QLabel *lblTitle() const { return m_lblTitle; }
    PictureButton *btnWindowMinimize() const { return m_btnWindowMinimize; }
    PictureButton *btnWindowClose() const { return m_btnWindowClose; }
    PictureButton *btnHomePage() const { return m_btnHomePage; }
    PictureButton *btnEMail() const { return m_btnEMail; }
    PictureButton *btnHelp() const { return m_btnHelp; }
    PictureButton *btnAbout() const { return m_btnAbout; }
    // The video window shows the preview's pictures; panLogo covers it while nothing is loaded.
    VideoWindow *DSVideoWindowEx1() const { return m_videoWindow; }
    QWidget *panLogo() const { return m_panLogo; }
    // The timeline: left filler, start marker, span, end marker, right filler.
    TimelinePanel *Panel1() const { return m_panel1; }
    QWidget *Panel2() const;
    QWidget *Splitter1() const;
    QWidget *Panel4() const;
    QWidget *Splitter2() const;
    QWidget *Panel3() const;
    PictureButton *btnPlay() const { return m_btnPlay; }
    PictureButton *btnPause() const { return m_btnPause; }
    PictureButton *btnStop() const { return m_btnStop; }
    QLabel *pnlCurTime() const { return m_pnlCurTime; }
    QComboBox *cbbOutputFiletype() const { return m_cbbOutputFiletype; }
    QComboBox *cbbProfile() const { return m_cbbProfile; }
    PictureButton *btnOptions() const { return m_btnOptions; }
    QLineEdit *edtOutputFolder() const { return m_edtOutputFolder; }
    PictureButton *RzBmpButton1() const { return m_RzBmpButton1; }
    PictureButton *btnSelectOutputFolder() const { return m_btnSelectOutputFolder; }
    QCheckBox *chkShutdown() const { return m_chkShutdown; }
    QCheckBox *chkShowOutputDirectory() const { return m_chkShowOutputDirectory; }
    QLabel *Label1() const { return m_label1; }
    QLabel *Label2() const { return m_label2; }
    QLabel *Label3() const { return m_label3; }
    QTreeView *dxTreeSourceFileInfo() const { return m_dxTreeSourceFileInfo; }
    PictureButton *btnOpenFile() const { return m_btnOpenFile; }
    PictureButton *btnRemoveFile() const { return m_btnRemoveFile; }
    PictureButton *btnClearFile() const { return m_btnClearFile; }
    PictureButton *btnConvert() const { return m_btnConvert; }
    // The line at the window's foot that sums up the last conversion run.
    QLabel *lblStatusLine() const { return m_lblStatusLine; }
    QTimer *tmrClearMemory() const { return m_tmrClearMemory; }

Q_SIGNALS:
    void openFilesRequested();
    void removeFilesRequested();
    void clearFilesRequested();
    void optionsRequested();
    void playRequested();
    void pauseRequested();
    void stopRequested();
    void convertRequested();
    void selectOutputFolderRequested();
    void aboutRequested();
    void undoRequested();
    void redoRequested();
    void stopAddingRequested();
    // Local files dropped on the window (it takes drops once setAcceptDrops(true) was called).
    void filesDropped(const QStringList &paths);
    // The window is closing: stop the preview and save the settings before the program ends.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildTitleBar();
    void buildLinkButtons();
    void buildPreview();
    void buildTimeline();
    void buildOutputSettings();
    void buildCheckBoxes();
    void buildSourceList();
    void buildFileButtons();
    void buildStatusLine();
    void connectCommands();
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void tmrClearMemoryTimer();

    void placeControls();
    PictureButton *addButton(const QString &picture, const QString &name, const QString &hint = {});
    QLabel *addLabel(const QString &text, const QString &name);
    QCheckBox *addCheckBox(const QString &name, const QString &caption, const QString &captionName,
                           QLabel *&captionLabel);

    IShellLauncher &m_shell;
    QString m_programFolder;
    TrimFunction m_trim;
    QString m_homePage;
    QString m_supportEmail;
    QString m_codecAddress;

    QLabel *m_lblTitle = nullptr;
    PictureButton *m_btnWindowMinimize = nullptr;
    PictureButton *m_btnWindowClose = nullptr;
    PictureButton *m_btnHomePage = nullptr;
    PictureButton *m_btnEMail = nullptr;
    PictureButton *m_btnHelp = nullptr;
    PictureButton *m_btnAbout = nullptr;
    VideoWindow *m_videoWindow = nullptr;
    QWidget *m_panLogo = nullptr;
    TimelinePanel *m_panel1 = nullptr;
    PictureButton *m_btnPlay = nullptr;
    PictureButton *m_btnPause = nullptr;
    PictureButton *m_btnStop = nullptr;
    QLabel *m_pnlCurTime = nullptr;
    QComboBox *m_cbbOutputFiletype = nullptr;
    QComboBox *m_cbbProfile = nullptr;
    PictureButton *m_btnOptions = nullptr;
    QLineEdit *m_edtOutputFolder = nullptr;
    PictureButton *m_RzBmpButton1 = nullptr;
    PictureButton *m_btnSelectOutputFolder = nullptr;
    QCheckBox *m_chkShutdown = nullptr;
    QCheckBox *m_chkShowOutputDirectory = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label3 = nullptr;
    QTreeView *m_dxTreeSourceFileInfo = nullptr;
    PictureButton *m_btnOpenFile = nullptr;
    PictureButton *m_btnRemoveFile = nullptr;
    PictureButton *m_btnClearFile = nullptr;
    PictureButton *m_btnConvert = nullptr;
    QLabel *m_lblStatusLine = nullptr;
    QTimer *m_tmrClearMemory = nullptr;
    bool m_runLocked = false;
    QList<QPointer<QWidget>> m_lockedControls; // disabled by the lock, enabled again after it
};
