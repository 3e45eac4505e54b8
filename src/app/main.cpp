#include "app/ZeltoApp.h"

int main(int argc, char** argv)
{
    return CZeltoApp::Run(argc, argv);
}
