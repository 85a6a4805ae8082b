#include "echo_server.h"

#include <array>
#include <deque>
#include <thread>

#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/post.hpp>
#include <asio/write.hpp>

#include "rcon/protocol.h"

namespace kestrova::tools {

using asio::ip::tcp;
using namespace sim::rcon;

namespace {

class EchoConnection : public std::enable_shared_from_this<EchoConnection> {
public:
    EchoConnection(tcp::socket socket, const std::string& password) : socket_(std::move(socket)), password_(password) {}

    void Read()
    {
        socket_.async_read_some(asio::buffer(buffer_), [self = shared_from_this()](std::error_code error, std::size_t n) {
            std::deque<Packet> packets;
            if (error || !self->decoder_.Feed({self->buffer_.data(), n}, packets))
                return;  // the socket closes with the last reference
            for (const Packet& packet : packets) {
                if (packet.type == kAuth)
                    self->Send({packet.body == self->password_ ? packet.id : -1, kAuthResponse, {}});
                else
                    self->Send({packet.id, kResponseValue, packet.body});
            }
            self->Read();
        });
    }

private:
    void Send(const Packet& packet)
    {
        writes_.push_back(EncodePacket(packet));
        if (writes_.size() == 1)
            WriteNext();
    }

    void WriteNext()
    {
        asio::async_write(socket_, asio::buffer(writes_.front()), [self = shared_from_this()](std::error_code error, std::size_t) {
            if (error)
                return;
            self->writes_.pop_front();
            if (!self->writes_.empty())
                self->WriteNext();
        });
    }

    tcp::socket socket_;
    const std::string& password_;
    std::array<char, 8192> buffer_;
    PacketDecoder decoder_;
    std::deque<std::string> writes_;
};

}  // namespace

struct EchoServer::Impl {
    explicit Impl(std::string password_) : password(std::move(password_))
    {
        acceptor.open(tcp::v4());
        acceptor.bind({asio::ip::make_address("127.0.0.1"), 0});
        acceptor.listen();
        Accept();
        thread = std::thread([this] { io.run(); });
    }

    void Accept()
    {
        acceptor.async_accept([this](std::error_code error, tcp::socket socket) {
            if (error == asio::error::operation_aborted)
                return;
            if (!error) {
                socket.set_option(tcp::no_delay(true), error);
                std::make_shared<EchoConnection>(std::move(socket), password)->Read();
            }
            Accept();
        });
    }

    std::string password;
    asio::io_context io{1};
    tcp::acceptor acceptor{io};
    std::thread thread;
};

EchoServer::EchoServer(std::string password) : impl_(std::make_unique<Impl>(std::move(password))) {}

EchoServer::~EchoServer()
{
    impl_->io.stop();
    impl_->thread.join();
}

std::uint16_t EchoServer::Port() const
{
    return impl_->acceptor.local_endpoint().port();
}

}  // namespace kestrova::tools
