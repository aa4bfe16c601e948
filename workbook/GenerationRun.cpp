#include "workbook/GenerationRun.h"

void RunGeneration(Form1&) {}
