#include "app/AppShell.h"
#include "app/SettingsStore.h"
#include "report/Form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProductName);
    QApplication::setOrganizationName(kSettingsApp);

    Form1 form;
    form.Form_Load();
    form.show();
    return app.exec();
}
