// SPDX-License-Identifier: MIT
// The floor of a QtCore-only program: it starts and exits. bench/cli_startup compares rinkomat-cli with it.
#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return 0;
}
