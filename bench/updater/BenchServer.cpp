// Serves /big.bin, a body of the given size made up on the fly, on 127.0.0.1 and prints
// "port <n>" once it listens. Runs until killed.
#include "support/LoopbackHttpServer.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const qint64 size = argc > 1 ? QByteArray(argv[1]).toLongLong() : 200LL * 1000 * 1000;
    LoopbackHttpServer server;
    if (!server.isListening())
        return 1;
    HttpResponse big;
    big.generatedLength = size;
    server.setResponse(QStringLiteral("/big.bin"), big);
    std::printf("port %u\n", static_cast<unsigned>(server.port()));
    std::fflush(stdout);
    return app.exec();
}
