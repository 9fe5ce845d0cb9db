#include "app/Program.h"
#include "app/StartUp.h"
#include "app/TamApplication.h"

int main(int argc, char* argv[]) {
    tam32::TTamApplication app(argc, argv);
    tam32::StartUpApplication();
    tam32::TProgram program;
    program.Show();
    return app.exec();
}
