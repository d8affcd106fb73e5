// Temporary: empty catalogues until the real ones land.
#include "ParameterHandler.h"

void ApplyConfigurationCatalogue(ParameterHandler&) {}
void ApplyVolumeRightsCatalogue(ParameterHandler&) {}
void ApplyScsiCatalogue(ParameterHandler&) {}
