// The generation run behind "Start Creating Template": report -> filled workbook -> preview.
#pragma once

class Form1;

void RunGeneration(Form1& form);
