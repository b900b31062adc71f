// The Drape deliverable's own file name (GlobalSetup cuts its length).
#include "variants/drape/drape_params.h"

const char ShippedModuleFileName[] = "VelarraDrape.AEX";
