#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

namespace httplib {
class Server;
}
class FaultPlan;
class ShopService;

// The HTTP side: one POST address, "/admin/trader.php", on 127.0.0.1 only. Reads the form
// (fields "login", "code", "command", "values" and the zipped file field "string_file"),
// applies the delay and the faults, and hands the request to the shop's service.
class ShopServer {
public:
    ShopServer(ShopService& service, FaultPlan& faults, int delayMs = 0);
    ~ShopServer();
    ShopServer(const ShopServer&) = delete;
    ShopServer& operator=(const ShopServer&) = delete;

    // Binds 127.0.0.1:port (0 picks a free one) and returns the port; -1 when it cannot.
    int bind(int port);
    // Serves until stop(); returns at once when bind() did not succeed.
    void run();
    // Safe from any thread; cuts short the waits of delayed answers.
    void stop();

private:
    void pause(int milliseconds);

    ShopService& m_service;
    FaultPlan& m_faults;
    int m_delayMs;
    int m_port = -1;
    std::unique_ptr<httplib::Server> m_http;
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stopping = false;
    bool m_listening = false;
};
