// SPDX-License-Identifier: MIT
// rinkomat-cli: the views without a window, for posting tables, scripting and checking.
#include "commands.h"
#include "desktopside.h"

#include <csignal>

int main(int argc, char* argv[])
{
    // A file-size limit must fail the write that meets it, which then exits 2 with a message.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::unique_ptr<QCoreApplication> application = cli::makeApplication(argc, argv);
    return cli::run(QCoreApplication::arguments());
}
