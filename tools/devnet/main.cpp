// quimb-devnet: the simulated network as a program. Prints the QUIMB_* settings that point
// Quimb at it, then serves until interrupted.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "DevNet.h"

namespace {

void Usage(std::FILE* out) {
    std::fputs(
        "usage: quimb-devnet [--version TEXT] [--hits N] [--ed2k N] [--server-met FILE]\n"
        "  Serves Quimb's service host, statistics host, a magnet search site, eD2k\n"
        "  servers and Baidu stand-ins (account quimb / s3cret) on 127.0.0.1, prints the\n"
        "  QUIMB_*_HOST settings for them and runs until Ctrl-C.\n"
        "  --version TEXT  the published version text (default 2.0.0.5)\n"
        "  --hits N        hits per keyword on the magnet site (default: 25 to 65)\n"
        "  --ed2k N        answering eD2k servers, plus one that refuses (default 5); they\n"
        "                  answer in compact and in old-style tags\n"
        "  --server-met FILE  also write the eD2k servers to FILE as a server.met list\n"
        "  --hostile MODE  a hostile network, to try Quimb against (may be given again):\n"
        "    bare-markers, billion-pages, full-pages, endless-body   the magnet site\n"
        "    trickle         the service host sends one byte a second\n"
        "    nameless-records, tiny-records, zlib-bomb, huge-frame   every eD2k server\n"
        "    many-servers    emulesvr.txt lists 10,000 servers\n",
        out);
}

}  // namespace

int main(int argc, char** argv) {
    std::string version = "2.0.0.5";
    int hits = 0;
    int ed2kServers = 5;
    std::string serverMet;
    std::vector<std::string> hostile;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        } else if (arg == "--version" && i + 1 < argc) {
            version = argv[++i];
        } else if (arg == "--hits" && i + 1 < argc) {
            hits = std::atoi(argv[++i]);
        } else if (arg == "--ed2k" && i + 1 < argc) {
            ed2kServers = std::atoi(argv[++i]);
        } else if (arg == "--server-met" && i + 1 < argc) {
            serverMet = argv[++i];
        } else if (arg == "--hostile" && i + 1 < argc) {
            hostile.push_back(argv[++i]);
        } else {
            Usage(stderr);
            return 2;
        }
    }
    // Block the stop signals in every thread, so that only the wait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    devnet::DevNet net;
    net.m_service.SetVersion(version);
    net.m_magnet.SetTotalHits(hits);
    std::optional<devnet::Ed2kMode> ed2kMode;
    for (const std::string& mode : hostile) {
        using devnet::MagnetMode;
        if (mode == "bare-markers") {
            net.m_magnet.SetMode(MagnetMode::BareMarkers);
        } else if (mode == "billion-pages") {
            net.m_magnet.SetMode(MagnetMode::BillionPages);
        } else if (mode == "full-pages") {
            net.m_magnet.SetMode(MagnetMode::FullPages);
        } else if (mode == "endless-body") {
            net.m_magnet.SetMode(MagnetMode::EndlessBody);
        } else if (mode == "trickle") {
            for (const char* file : {"/hostname.txt", "/version.txt", "/emulesvr.txt"})
                net.m_service.SetEndless(file, "2", 1000);
        } else if (mode == "nameless-records") {
            ed2kMode = devnet::Ed2kMode::NamelessRecords;
        } else if (mode == "tiny-records") {
            ed2kMode = devnet::Ed2kMode::TinyRecords;
        } else if (mode == "zlib-bomb") {
            ed2kMode = devnet::Ed2kMode::ZlibBomb;
        } else if (mode == "huge-frame") {
            ed2kMode = devnet::Ed2kMode::HugeFrame;
        } else if (mode == "many-servers") {
            net.ListManyServers(10000);
        } else {
            std::cerr << "quimb-devnet: unknown hostile mode " << mode << "\n";
            Usage(stderr);
            return 2;
        }
    }
    if (ed2kMode) {
        for (int i = 0; i < ed2kServers; ++i) {
            devnet::Ed2kServerConfig config;
            config.mode = *ed2kMode;
            config.seed = static_cast<std::uint32_t>(i);
            config.packed = i % 2 == 1;
            net.AddEd2kServer(config);
        }
    } else {
        net.AddDemoEd2kServers(ed2kServers);
    }
    net.Start();
    if (!serverMet.empty()) {
        const std::vector<std::uint8_t> bytes = net.ServerMet();
        std::ofstream file(serverMet, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file) {
            std::cerr << "quimb-devnet: cannot write " << serverMet << "\n";
            return 1;
        }
    }
    std::cout << net.EnvironmentText() << std::flush;

    int received = 0;
    sigwait(&stopSignals, &received);
    net.Stop();
    std::cerr << "quimb-devnet: stopped\n";
    return 0;
}
