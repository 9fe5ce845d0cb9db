#pragma once
// The plug-in host's exceptions and their texts.
#include <QString>

#include "platform/Exceptions.h"

namespace tam32 {

TAM32_EXCEPTION(ESPIDupCreateSPIs, Exception);
TAM32_EXCEPTION(ESPIFOpenErrorSPI, Exception);
TAM32_EXCEPTION(ESPIInvalidAPI, Exception);
// Never raised; handled together with ESPIFOpenErrorSPI.
TAM32_EXCEPTION(ESPIInvalidSPI, Exception);

// Raised as EInvalidGraphic when no reader decodes a picture.
inline const QString kSusieCouldNotDecode = QStringLiteral("Susie Plugins could not decode");

inline ESPIDupCreateSPIs DupCreateSPIsError() {
    return ESPIDupCreateSPIs(QStringLiteral("TSPIs は複数生成できません"));
}

inline ESPIFOpenErrorSPI OpenErrorSPI(const QString& FileName) {
    return ESPIFOpenErrorSPI(QStringLiteral("%1:Susie Pluginがロードできませんでした").arg(FileName));
}

inline ESPIInvalidAPI InvalidAPIError(const char* ExportName, const QString& FileName) {
    return ESPIInvalidAPI(
        QStringLiteral("%1は[%2]では使えないSusie Plugin APIです").arg(QLatin1String(ExportName), FileName));
}

}  // namespace tam32
