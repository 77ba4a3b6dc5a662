#include "ShopServer.h"

#include "FaultPlan.h"
#include "Platform.h"
#include "ShopService.h"

#include <httplib.h>

#include <thread>

namespace {

QByteArray formValue(const httplib::Request& request, const char* name)
{
    if (request.has_file(name)) {
        const std::string& content = request.get_file_value(name).content;
        return QByteArray(content.data(), qsizetype(content.size()));
    }
    const std::string value = request.get_param_value(name);
    return QByteArray(value.data(), qsizetype(value.size()));
}

} // namespace

ShopServer::ShopServer(ShopService& service, FaultPlan& faults, int delayMs)
    : m_service(service)
    , m_faults(faults)
    , m_delayMs(delayMs)
    , m_http(std::make_unique<httplib::Server>())
{
    m_http->set_read_timeout(300, 0);
    m_http->Post(
        "/admin/trader.php", [this](const httplib::Request& request, httplib::Response& response) {
            pause(m_delayMs);
            ShopRequest shopRequest{formValue(request, "login"), formValue(request, "code"),
                                    formValue(request, "command"), formValue(request, "values"),
                                    std::nullopt};
            if (request.has_file("string_file"))
                shopRequest.archive = formValue(request, "string_file");
            std::optional<FaultPlan::Fault> fault = m_faults.next(shopRequest.command);
            if (fault && fault->kind == FaultPlan::Fault::Kind::Delay) {
                pause(fault->delayMs);
                fault.reset();
            }
            const Answer answer = fault ? FaultPlan::answer(*fault, m_service.nextEntryName())
                                        : m_service.handle(shopRequest);
            if (answer.ending == Answer::Ending::Closed) {
                Platform::closeConnection(m_port, request.remote_port);
                return;
            }
            response.status = answer.httpStatus;
            if (answer.ending == Answer::Ending::CutShort) {
                // Announces more than it sends: the library closes the connection when the
                // provider gives up.
                const QByteArray start = answer.body;
                response.set_content_provider(
                    std::size_t(start.size()) * 4, "text/html; charset=windows-1251",
                    [start](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                        if (offset == 0)
                            sink.write(start.constData(), std::size_t(start.size()));
                        return false;
                    });
                return;
            }
            response.set_content(answer.body.constData(), std::size_t(answer.body.size()),
                                 "text/html; charset=windows-1251");
        });
}

ShopServer::~ShopServer() = default;

int ShopServer::bind(int port)
{
    m_port = port == 0 ? m_http->bind_to_any_port("127.0.0.1")
                       : (m_http->bind_to_port("127.0.0.1", port) ? port : -1);
    return m_port;
}

void ShopServer::run()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping || m_port <= 0)
            return;
        m_listening = true;
    }
    m_http->listen_after_bind();
    std::lock_guard lock(m_mutex);
    m_listening = false;
}

void ShopServer::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stopped.notify_all();
    // The library ignores a stop that comes before its loop runs, so wait for the loop.
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (!m_listening)
                return;
        }
        if (m_http->is_running()) {
            m_http->stop();
            return;
        }
        std::this_thread::yield();
    }
}

void ShopServer::pause(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    std::unique_lock lock(m_mutex);
    m_stopped.wait_for(lock, std::chrono::milliseconds(milliseconds),
                       [this] { return m_stopping; });
}
