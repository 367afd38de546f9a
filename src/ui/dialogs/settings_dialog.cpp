#include "ui/dialogs/settings_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/key_codes.h"
#include "ports/hex_colour_setting.h"
#include "ui/dialogs/accel_map_dialog.h"
#include "ui/dialogs/colour_ref.h"
#include "ui/dialogs/font_ref.h"
#include "ui/dialogs/select_icon_dialog.h"

namespace orv {

namespace {

constexpr char kSection[] = "CSettingsDialog";
constexpr int kNoneType = 3;  // the type drop-down's "None"
constexpr int kFirstFunctionKey = 0x70, kLastFunctionKey = 0x87;

}  // namespace

CLooksPage::CLooksPage(CSettingsStore& settings, const SKeys& keys, QWidget* pParent)
    : QWidget(pParent),
      m_settings(settings),
      m_keys(keys),
      m_nBackground(ReadColour(settings, keys.background).value_or(kDefaultWindowColour)),
      m_nText(keys.pText ? ReadColour(settings, *keys.pText).value_or(kDefaultTextColour)
                         : kDefaultTextColour),
      m_font(StoredFont(settings, keys.font, font())) {
  auto* pBackground = new QPushButton(tr("&Background Colour..."), this);
  auto* pFont = new QPushButton(keys.pText ? tr("&Font and Colour...") : tr("&Font..."), this);
  m_pSample = new QLabel(tr("AaBbCc 123 \u00c4\u00e9\u0416"), this);
  m_pSample->setAutoFillBackground(true);
  m_pSample->setFrameShape(QFrame::Box);
  m_pSample->setMinimumHeight(60);
  m_pSample->setAlignment(Qt::AlignCenter);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(pBackground);
  pLayout->addWidget(pFont);
  pLayout->addWidget(m_pSample);
  pLayout->addStretch();
  connect(pBackground, &QPushButton::clicked, this, &CLooksPage::ChooseBackground);
  connect(pFont, &QPushButton::clicked, this, &CLooksPage::ChooseFont);
  ShowSample();
}

void CLooksPage::ChooseBackground() {
  const QColor colour = QColorDialog::getColor(ToQColor(m_nBackground), this);
  if (!colour.isValid()) return;
  m_nBackground = ToColorRef(colour);
  ShowSample();
}

void CLooksPage::ChooseFont() {
  bool bChosen = false;
  const QFont font = QFontDialog::getFont(&bChosen, m_font.value_or(this->font()), this);
  if (!bChosen) return;
  m_font = font;
  if (m_keys.pText) {
    const QColor colour = QColorDialog::getColor(ToQColor(m_nText), this, tr("Text Colour"));
    if (colour.isValid()) m_nText = ToColorRef(colour);
  }
  ShowSample();
}

void CLooksPage::ShowSample() {
  QPalette palette = m_pSample->palette();
  palette.setColor(QPalette::Window, ToQColor(m_nBackground));
  palette.setColor(QPalette::WindowText, ToQColor(m_nText));
  m_pSample->setPalette(palette);
  if (m_font) m_pSample->setFont(*m_font);
}

void CLooksPage::Write() {
  WriteColour(m_settings, m_keys.background, m_nBackground);
  if (m_keys.pText) WriteColour(m_settings, *m_keys.pText, m_nText);
  if (m_font) StoreFont(m_settings, m_keys.font, *m_font);
}

CSettingsDialog::CSettingsDialog(CSettingsStore& settings, QWidget* pParent)
    : QDialog(pParent), m_settings(settings), m_nDefaultIcon(ReadSetting(settings, kDefIcon)) {
  setObjectName("CSettingsDialog");
  setWindowTitle(tr("Settings"));
  m_pPages = new QTabWidget(this);
  m_pPages->addTab(GeneralPage(), tr("General"));
  const std::pair<QString, CLooksPage::SKeys> kLooks[] = {
      {tr("Tree"), {kTreeBckColor, &kTreeTextColor, kTreeFont}},
      {tr("Text"), {kTextBckColor, &kTextColor, kTextFont}},
      {tr("RTF"), {kRtfBckColor, nullptr, kRtfFont}},
      {tr("HTML"), {kHtmlBckColor, &kHtmlTextColor, kHtmlFont}},
  };
  for (const auto& [sTitle, keys] : kLooks) {
    m_looks.push_back(new CLooksPage(settings, keys, m_pPages));
    m_pPages->addTab(m_looks.back(), sTitle);
  }
  m_pTreeHints = new QCheckBox(tr("Show &hints over the notes of the tree"), m_looks.front());
  m_pTreeHints->setChecked(ReadSetting(settings, kShowTreeHinths) != 0);
  static_cast<QVBoxLayout*>(m_looks.front()->layout())->insertWidget(0, m_pTreeHints);

  m_pProblem = new QLabel(this);
  m_pProblem->setStyleSheet("color: #b00020");
  auto* pButtons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
  pButtons->button(QDialogButtonBox::Ok)->setToolTip(tr("Set new settings"));
  pButtons->button(QDialogButtonBox::Cancel)
      ->setToolTip(tr("Close this dialog without change settings"));
  pButtons->button(QDialogButtonBox::Apply)->setToolTip(tr("Apply new settings"));
  connect(pButtons, &QDialogButtonBox::accepted, this, [this] {
    if (Apply()) accept();
  });
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(pButtons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
          &CSettingsDialog::Apply);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(m_pPages);
  pLayout->addWidget(m_pProblem);
  pLayout->addWidget(pButtons);
  const int nTab = ReadSetting(settings, CurrentTabSetting(kSection));
  m_pPages->setCurrentIndex(nTab >= 0 && nTab < m_pPages->count() ? nTab : 0);
}

CSettingsDialog::~CSettingsDialog() {
  WriteSetting(m_settings, CurrentTabSetting(kSection), m_pPages->currentIndex());
}

QWidget* CSettingsDialog::GeneralPage() {
  auto* pPage = new QWidget(this);
  auto* pForm = new QFormLayout(pPage);
  const std::pair<QString, const SIntSetting*> kChecks[] = {
      {tr("New notes take the &default type without asking"), &kSetDef},
      {tr("&Minimize to the system tray"), &kMinimizeToTray},
      {tr("&Save the document when minimized"), &kAutoSaveByMinimize},
      {tr("Insert &Date and Time inserts the default format at once"), &kDefaultInsDate},
      {tr("Insert &Custom Date inserts the default format at once"), &kDefaultInsCustomDate},
      {tr("Allow only &one running Orvella"), &kAllowOneInstance},
  };
  for (const auto& [sText, pSetting] : kChecks) {
    auto* pCheck = new QCheckBox(sText, pPage);
    pCheck->setChecked(ReadSetting(m_settings, *pSetting) != 0);
    pForm->addRow(pCheck);
    m_checks.emplace_back(pCheck, pSetting);
  }
  m_pHotKey = new CKeyboardEdit(pPage);
  m_pHotKey->SetCombination(
      HotKeyCombination(static_cast<uint16_t>(ReadSetting(m_settings, kActShortcutKeyCode)),
                        static_cast<uint16_t>(ReadSetting(m_settings, kActShortcutModifiers))));
  pForm->addRow(tr("&Activation hot key:"), m_pHotKey);
  m_pDefaultType = new QComboBox(pPage);
  m_pDefaultType->addItems({tr("Text"), tr("Html"), tr("Rtf"), tr("None")});
  const int nType = ReadSetting(m_settings, kDefType);
  m_pDefaultType->setCurrentIndex(nType >= 0 && nType < kNoneType ? nType : kNoneType);
  pForm->addRow(tr("Default &type of new notes:"), m_pDefaultType);
  m_pBackups = new QSpinBox(pPage);
  m_pBackups->setRange(0, 99);
  m_pBackups->setValue(ReadSetting(m_settings, kNumBackCopies));
  pForm->addRow(tr("Number of &backup copies:"), m_pBackups);
  auto* pIcon = new QPushButton(tr("Set selected &icon as default..."), pPage);
  connect(pIcon, &QPushButton::clicked, this, &CSettingsDialog::ChooseDefaultIcon);
  pForm->addRow(pIcon);
  // Without this, a question silenced once could never be asked again.
  auto* pAskAgain = new QPushButton(tr("Ask all &questions again"), pPage);
  pAskAgain->setToolTip(
      tr("Every question you silenced with \"Don't ask me again\" is asked "
         "again after OK or Apply"));
  connect(pAskAgain, &QPushButton::clicked, this, [this, pAskAgain] {
    m_bAskAgain = true;
    pAskAgain->setText(tr("All questions will be asked again"));
  });
  pForm->addRow(pAskAgain);
  return pPage;
}

void CSettingsDialog::ChooseDefaultIcon() {
  CSelectIconDialog dialog(m_nDefaultIcon, this);
  if (dialog.exec() == QDialog::Accepted) m_nDefaultIcon = dialog.SelectedIcon();
}

bool CSettingsDialog::Apply() {
  // A hot key without Ctrl or Alt would take a plain key from every program.
  const std::optional<SKeyCombination> hotKey = m_pHotKey->Combination();
  const bool bFunctionKey =
      hotKey && hotKey->nKey >= kFirstFunctionKey && hotKey->nKey <= kLastFunctionKey;
  if (!hotKey || hotKey->nKey == 0 ||
      (!(hotKey->nFlags & (kAccelControl | kAccelAlt)) && !bFunctionKey)) {
    m_pProblem->setText(tr("Choose an activation hot key with Ctrl or Alt, or a function key."));
    m_pPages->setCurrentIndex(0);
    m_pHotKey->setFocus();
    return false;
  }
  m_pProblem->clear();
  WriteGeneral();
  WriteSetting(m_settings, kActShortcutKeyCode, hotKey->nKey);
  WriteSetting(m_settings, kActShortcutModifiers, HotKeyModifiers(*hotKey));
  WriteSetting(m_settings, kShowTreeHinths, m_pTreeHints->isChecked() ? 1 : 0);
  for (CLooksPage* pPage : m_looks) pPage->Write();
  emit Applied();
  return true;
}

void CSettingsDialog::WriteGeneral() {
  for (const auto& [pCheck, pSetting] : m_checks)
    WriteSetting(m_settings, *pSetting, pCheck->isChecked() ? 1 : 0);
  const int nType = m_pDefaultType->currentIndex();
  WriteSetting(m_settings, kDefType, nType == kNoneType ? kDefTypeNone : nType);
  if (nType == kNoneType) WriteSetting(m_settings, kSetDef, 0);
  WriteSetting(m_settings, kNumBackCopies, m_pBackups->value());
  WriteSetting(m_settings, kDefIcon, m_nDefaultIcon);
  if (m_bAskAgain)
    for (const SIntSetting& setting : kDontAskAgainSettings) WriteSetting(m_settings, setting, 0);
}

}  // namespace orv
