#pragma once
// The Options dialog: the four audio selectors, loudness, keeping the original sound, the number
// of files converted at once and the custom profile controls. The video values that profiles
// and templates carry are kept by the option model alone. A view only: the selectors and the name box are filled and bound by their
// owners, and the commands leave as signals. It is shown without blocking the main window.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;

class TfrmOption : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOption(QWidget *parent = nullptr);

    // Shows the dialog modeless, or brings it to the front when it is already shown.
    void showModeless();

    QComboBox *cbbCustomProfile() const { return m_cbbCustomProfile; }
    QPushButton *btnAdd() const { return m_btnAdd; }
    QPushButton *btnSave() const { return m_btnSave; }
    QPushButton *btnDel() const { return m_btnDel; }
    QGroupBox *grpAdvOptions() const { return m_grpAdvOptions; }
    QComboBox *cbbAudioBitrate() const { return m_cbbAudioBitrate; }
    QComboBox *cbbAudioSample() const { return m_cbbAudioSample; }
    QComboBox *cbbAudioVolumeGain() const { return m_cbbAudioVolumeGain; }
    QComboBox *cbbAudioChannels() const { return m_cbbAudioChannels; }
    QComboBox *cbbLoudness() const { return m_cbbLoudness; }
    QCheckBox *chkKeepOriginal() const { return m_chkKeepOriginal; }
    // "Files converted at once": the entries "1" to the number of cores.
    QComboBox *cbbFilesAtOnce() const { return m_cbbFilesAtOnce; }
    QPushButton *btnApply() const { return m_btnApply; }
    QPushButton *btnCancel() const { return m_btnCancel; }

Q_SIGNALS:
    // The dialog is being shown (not emitted when an open dialog is only brought to the front).
    void showing();
    void addRequested();
    void saveRequested();
    void deleteRequested();
    // OK and Cancel (also Esc); the dialog hides itself after the signal.
    void applyRequested();
    void cancelRequested();

public Q_SLOTS:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildProfileRow();
    void buildAudioGroup();
    void buildLoudnessRow(QGridLayout *grid);
    void buildButtons();

    QComboBox *m_cbbCustomProfile = nullptr;
    QPushButton *m_btnAdd = nullptr;
    QPushButton *m_btnSave = nullptr;
    QPushButton *m_btnDel = nullptr;
    QGroupBox *m_grpAdvOptions = nullptr;
    QComboBox *m_cbbAudioBitrate = nullptr;
    QComboBox *m_cbbAudioSample = nullptr;
    QComboBox *m_cbbAudioVolumeGain = nullptr;
    QComboBox *m_cbbAudioChannels = nullptr;
    QComboBox *m_cbbLoudness = nullptr;
    QCheckBox *m_chkKeepOriginal = nullptr;
    QComboBox *m_cbbFilesAtOnce = nullptr;
    QPushButton *m_btnApply = nullptr;
    QPushButton *m_btnCancel = nullptr;
};
