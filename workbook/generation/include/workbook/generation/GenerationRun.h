// The generation run behind "Start Creating Template": report -> filled workbook -> preview.
#pragma once

class Form1;

// Form1's PushButton22_Click; main() installs it as the window's generation handler.
void RunGeneration(Form1& form);
