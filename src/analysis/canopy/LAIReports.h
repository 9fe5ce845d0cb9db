#pragma once
// The leaf area index reports of the results window, written through the
// engine host after a gap fraction analysis: canopy cover, the five-ring
// index, the ellipsoidal fits over rings and over one-degree bands, and one
// comma-separated row per image for the batch commands.
#include <QString>

namespace tam32 {

// Each report is written only when the LAI settings make sense; otherwise
// it shows "ERR22", writes nothing and returns True.
// The full report: cover lines, the gap fraction chart (shown modally), then
// ShowLAIPCA and ShowLAINC. FileName is the analysed image (not printed).
bool ShowLAIResults(const QString& FileName);
// The five-ring table and "LAI(PCA):".
bool ShowLAIPCA();
// The ring and band fits and the per-band table.
bool ShowLAINC();
// One result row for FileName; the caller has written the header.
void AddBatchResultLine(const QString& FileName);
// The header of the batches' rows.
inline const QString kBatchResultHeader = QStringLiteral("FILE,Canopy_Cover,Sky_Factor,DIFphoto,LAI_2000,LAI_NC,V/H,MLA");

}  // namespace tam32
