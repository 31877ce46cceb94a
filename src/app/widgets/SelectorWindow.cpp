#include "app/widgets/SelectorWindow.h"

#include "settings/widgets/SelectorComboBinder.h"
#include "support/ProgramFolder.h"

#include <QComboBox>
#include <QFormLayout>

SelectorWindow::SelectorWindow(QWidget *parent)
    : QWidget(parent), m_common(ProgramFolder(), m_clock, m_boxes), m_customProc(m_common, m_options, m_sources)
{
    setWindowTitle(QStringLiteral("Kelvane"));
    m_customProc.FillAllSelectors();
    m_customProc.ApplyQualityProfile();

    auto *outputType = new QComboBox(this);
    auto *quality = new QComboBox(this);
    const auto apply = [this] { m_customProc.ApplyQualityProfile(); };
    new SelectorComboBinder(outputType, &m_options, Selector::OutputType, apply);
    new SelectorComboBinder(quality, &m_options, Selector::Quality, apply);
    bindEnabledState(quality, &m_options, SelectorControl::ProfileSelector);

    auto *layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Output File Type:"), outputType);
    layout->addRow(QStringLiteral("Quality:"), quality);
}
