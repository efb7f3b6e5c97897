// Built only by the test CoreBoundary.AToolHeaderDoesNotCompileInTheStudy, which expects it to
// fail: the study sees its own headers (the first include) and none of the tools' (the second).
#include "study/driver.h"
#include "chart/chart_host.h"
