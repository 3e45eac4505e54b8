// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ZeltoApp.h"

int main(int argc, char** argv)
{
    return CZeltoApp::Run(argc, argv);
}
