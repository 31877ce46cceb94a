#pragma once
// The long-lived service object for list, path, fragment and media operations. It holds the
// program folder, the record of the current conversion and the helper objects, and forwards
// to the helpers; each topic lives in its own file.
#include "engine/ConvertParameter.h"
#include "support/AppFunc.h"
#include "support/FileFunc.h"
#include "support/FileLocations.h"

class IClock;
class IMessageBoxes;

class TCommonLib {
public:
    // `programFolder` ends with the separator; `clock` and `boxes` must outlive this object.
    TCommonLib(QString programFolder, const IClock &clock, IMessageBoxes &boxes);
    // The log goes to `locations.stateFolder`.
    TCommonLib(FileLocations locations, const IClock &clock, IMessageBoxes &boxes);

    const QString &programFolder() const { return m_locations.programFolder; }
    const FileLocations &locations() const { return m_locations; }
    TConvertParameterStruct &convertParameter() { return m_convertParameter; }
    const TConvertParameterStruct &convertParameter() const { return m_convertParameter; }
    const TAppFunc &appFunc() const { return m_appFunc; }
    TFileFunc &fileFunc() { return m_fileFunc; }
    IMessageBoxes &messageBoxes() { return m_boxes; }

    void WriteLog(const QString &message) const { m_appFunc.WriteLog(message); }
    QStringList SplitByChar(const QString &text, QChar separator) const;
    double NumericPart(const QString &text) const;
    bool ShowMessageBox(const QString &text, int kind);
    // The section names of an INI file in the Config folder, and the value of key `name` in
    // section `name` ("" when missing).
    QStringList ListConfigSections(const QString &fileName) const;
    QString ReadConfigValue(const QString &fileName, const QString &name) const;

private:
    FileLocations m_locations;
    TConvertParameterStruct m_convertParameter;
    TAppFunc m_appFunc;
    TFileFunc m_fileFunc;
    IMessageBoxes &m_boxes;
};
