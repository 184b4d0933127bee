// The end-to-end tests' own Wayland client: xdg-shell toplevels with the titles given, each
// drawn in a plain colour at the size the compositor configures. It records every close request
// as one line in the log ("closed TITLE"; with --ask "kept TITLE", and the toplevel stays open
// like a window with unsaved work) and exits when its last toplevel has closed. Commands on
// standard input, one a line: "title N NEW TITLE" renames the Nth toplevel of the command line
// (counting from 1), "quit" exits.
//
//   velmora_wayland_client [--app-id ID] [--log PATH] [--ask] TITLE...

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Wayland.h"

namespace wlclient {

namespace {

constexpr int kDefaultWidth = 480;
constexpr int kDefaultHeight = 320;
constexpr std::uint32_t kColours[] = {0xFF3B6EA5, 0xFF6AA84F, 0xFFD9822B, 0xFF8E44AD};

struct Options {
    std::string appId = "velmora-test-client";
    std::string logPath;  // standard output when empty
    bool ask = false;
    std::vector<std::string> titles;
};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// A `width` x `height` buffer of one colour. Its memory is never written again once handed to
// the compositor, so the buffer may be dropped while still attached.
Buffer SolidBuffer(wl_shm* shm, int width, int height, std::uint32_t colour) {
    const int stride = width * 4;
    const std::size_t size = static_cast<std::size_t>(stride) * height;
    const FileDescriptor memory(memfd_create("velmora-wayland-client", MFD_CLOEXEC));
    if (memory.get() < 0 || ftruncate(memory.get(), static_cast<off_t>(size)) != 0) {
        throw std::runtime_error("cannot make shared memory for a buffer");
    }
    void* pixels = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, memory.get(), 0);
    if (pixels == MAP_FAILED) throw std::runtime_error("cannot map a buffer's memory");
    std::fill_n(static_cast<std::uint32_t*>(pixels), size / 4, colour);
    munmap(pixels, size);
    // The compositor keeps the pool's memory for as long as a buffer made from it lives.
    const ShmPool pool(wl_shm_create_pool(shm, memory.get(), static_cast<std::int32_t>(size)));
    return Buffer(
        wl_shm_pool_create_buffer(pool.get(), 0, width, height, stride, WL_SHM_FORMAT_XRGB8888));
}

class Client;

// One toplevel: its surface, its xdg-shell roles and the buffer it shows.
class Toplevel {
public:
    Toplevel(Client& client, int number, const std::string& title);
    Toplevel(const Toplevel&) = delete;
    Toplevel& operator=(const Toplevel&) = delete;

    void Rename(const std::string& title);
    // Set once the toplevel has agreed to a close request; the client then destroys it.
    bool closing() const { return closing_; }

private:
    static void Configure(void* data, xdg_surface* surface, std::uint32_t serial);
    static void ConfigureToplevel(void* data, xdg_toplevel* toplevel, std::int32_t width,
                                  std::int32_t height, wl_array* states);
    static void Close(void* data, xdg_toplevel* toplevel);

    Client& client_;
    std::string title_;
    std::uint32_t colour_;
    int configuredWidth_ = 0;  // 0: the client chooses
    int configuredHeight_ = 0;
    int bufferWidth_ = 0;
    int bufferHeight_ = 0;
    bool closing_ = false;
    // Declared so that the roles go before the surface, and the surface before its buffer.
    Buffer buffer_;
    Surface surface_;
    XdgSurface xdgSurface_;
    XdgToplevel toplevel_;
};

class Client {
public:
    explicit Client(Options options);
    int Run();

    wl_compositor* compositor() const { return compositor_.get(); }
    wl_shm* shm() const { return shm_.get(); }
    xdg_wm_base* wmBase() const { return wmBase_.get(); }
    const std::string& appId() const { return options_.appId; }
    // Records a close request for the toplevel titled `title`; true when it should close.
    bool AnswerClose(const std::string& title);

private:
    static void Announce(void* data, wl_registry* registry, std::uint32_t name,
                         const char* interface, std::uint32_t version);
    static void Withdraw(void*, wl_registry*, std::uint32_t) {}
    static void Ping(void*, xdg_wm_base* base, std::uint32_t serial) {
        xdg_wm_base_pong(base, serial);
    }
    void Dispatch();
    // Reads what standard input has; false once it has ended.
    bool ReadCommands();
    void Execute(const std::string& line);

    Options options_;
    std::ofstream log_;
    Display display_;
    Registry registry_;
    Compositor compositor_;
    Shm shm_;
    WmBase wmBase_;
    std::map<int, Toplevel> toplevels_;  // by their number on the command line
    std::string input_;
    bool quit_ = false;
};

Toplevel::Toplevel(Client& client, int number, const std::string& title)
    : client_(client),
      title_(title),
      colour_(kColours[(number - 1) % std::size(kColours)]),
      surface_(wl_compositor_create_surface(client.compositor())),
      xdgSurface_(xdg_wm_base_get_xdg_surface(client.wmBase(), surface_.get())),
      toplevel_(xdg_surface_get_toplevel(xdgSurface_.get())) {
    static const xdg_surface_listener surfaceListener = {.configure = Configure};
    static const xdg_toplevel_listener toplevelListener = {.configure = ConfigureToplevel,
                                                           .close = Close};
    xdg_surface_add_listener(xdgSurface_.get(), &surfaceListener, this);
    xdg_toplevel_add_listener(toplevel_.get(), &toplevelListener, this);
    xdg_toplevel_set_title(toplevel_.get(), title_.c_str());
    xdg_toplevel_set_app_id(toplevel_.get(), client.appId().c_str());
    // The first commit has no buffer: the compositor answers with the first configure.
    wl_surface_commit(surface_.get());
}

void Toplevel::Rename(const std::string& title) {
    title_ = title;
    xdg_toplevel_set_title(toplevel_.get(), title_.c_str());
}

void Toplevel::ConfigureToplevel(void* data, xdg_toplevel*, std::int32_t width,
                                 std::int32_t height, wl_array*) {
    auto* self = static_cast<Toplevel*>(data);
    self->configuredWidth_ = width;
    self->configuredHeight_ = height;
}

void Toplevel::Configure(void* data, xdg_surface* surface, std::uint32_t serial) {
    auto* self = static_cast<Toplevel*>(data);
    xdg_surface_ack_configure(surface, serial);
    const int width = self->configuredWidth_ > 0 ? self->configuredWidth_ : kDefaultWidth;
    const int height = self->configuredHeight_ > 0 ? self->configuredHeight_ : kDefaultHeight;
    if (!self->buffer_ || width != self->bufferWidth_ || height != self->bufferHeight_) {
        Buffer fresh = SolidBuffer(self->client_.shm(), width, height, self->colour_);
        wl_surface_attach(self->surface_.get(), fresh.get(), 0, 0);
        wl_surface_damage(self->surface_.get(), 0, 0, width, height);
        self->buffer_ = std::move(fresh);
        self->bufferWidth_ = width;
        self->bufferHeight_ = height;
    }
    wl_surface_commit(self->surface_.get());
}

void Toplevel::Close(void* data, xdg_toplevel*) {
    auto* self = static_cast<Toplevel*>(data);
    if (self->client_.AnswerClose(self->title_)) self->closing_ = true;
}

Client::Client(Options options)
    : options_(std::move(options)), display_(wl_display_connect(nullptr)) {
    if (!display_) throw std::runtime_error("cannot connect to the Wayland display");
    if (!options_.logPath.empty()) {
        log_.open(options_.logPath, std::ios::app);
        if (!log_) throw std::runtime_error("cannot open the log " + options_.logPath);
    }
    registry_.reset(wl_display_get_registry(display_.get()));
    static const wl_registry_listener listener = {.global = Announce, .global_remove = Withdraw};
    wl_registry_add_listener(registry_.get(), &listener, this);
    if (wl_display_roundtrip(display_.get()) < 0) {
        throw std::runtime_error("the compositor did not answer");
    }
    if (!compositor_ || !shm_ || !wmBase_) {
        throw std::runtime_error("the compositor lacks wl_compositor, wl_shm or xdg_wm_base");
    }
    for (std::size_t i = 0; i < options_.titles.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        toplevels_.try_emplace(number, *this, number, options_.titles[i]);
    }
}

void Client::Announce(void* data, wl_registry* registry, std::uint32_t name,
                      const char* interface, std::uint32_t) {
    auto* self = static_cast<Client*>(data);
    // Version 1 of each has all the client uses.
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
        self->compositor_.reset(static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, 1)));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        self->shm_.reset(
            static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1)));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
        self->wmBase_.reset(static_cast<xdg_wm_base*>(
            wl_registry_bind(registry, name, &xdg_wm_base_interface, 1)));
        static const xdg_wm_base_listener listener = {.ping = Ping};
        xdg_wm_base_add_listener(self->wmBase_.get(), &listener, nullptr);
    }
}

bool Client::AnswerClose(const std::string& title) {
    std::ostream& out = log_.is_open() ? static_cast<std::ostream&>(log_) : std::cout;
    out << (options_.ask ? "kept " : "closed ") << title << std::endl;
    return !options_.ask;
}

void Client::Dispatch() {
    if (wl_display_dispatch_pending(display_.get()) < 0) {
        throw std::runtime_error("the Wayland connection failed: " +
                                 std::string(std::strerror(wl_display_get_error(display_.get()))));
    }
}

int Client::Run() {
    wl_display* display = display_.get();
    pollfd watched[] = {{wl_display_get_fd(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    while (!quit_ && !toplevels_.empty()) {
        while (wl_display_prepare_read(display) != 0) Dispatch();
        const bool unsent = wl_display_flush(display) < 0;
        if (unsent && errno != EAGAIN) {
            wl_display_cancel_read(display);
            throw std::runtime_error("cannot write to the compositor");
        }
        // No command is read while the compositor has not taken every request: more of them
        // would overflow libwayland's buffer, which ends the connection.
        watched[0].events = static_cast<short>(POLLIN | (unsent ? POLLOUT : 0));
        watched[1].events = unsent ? 0 : POLLIN;
        if (poll(watched, std::size(watched), -1) < 0) {
            wl_display_cancel_read(display);
            if (errno == EINTR) continue;
            throw std::runtime_error("poll failed");
        }
        if ((watched[0].revents & ~POLLOUT) != 0) {
            if (wl_display_read_events(display) < 0) {
                throw std::runtime_error("cannot read from the compositor");
            }
        } else {
            wl_display_cancel_read(display);
        }
        Dispatch();
        // Ignored from now on once ended (poll skips negative descriptors).
        if (watched[1].revents != 0 && !ReadCommands()) watched[1].fd = -1;
        std::erase_if(toplevels_, [](const auto& entry) { return entry.second.closing(); });
    }
    toplevels_.clear();
    wl_display_flush(display);
    return 0;
}

bool Client::ReadCommands() {
    // Read only while every request was sent: a chunk this size makes at most 3,640 bytes of
    // requests ("title N X" becomes a 16-byte set_title and X), within libwayland's 4,096.
    char chunk[2048];
    const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
    if (got < 0) return errno == EINTR || errno == EAGAIN;
    input_.append(chunk, static_cast<std::size_t>(got));
    if (got == 0 && !input_.empty()) input_ += '\n';
    for (std::size_t end; (end = input_.find('\n')) != std::string::npos;) {
        Execute(input_.substr(0, end));
        input_.erase(0, end + 1);
    }
    return got > 0;
}

void Client::Execute(const std::string& line) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    if (verb == "quit") {
        quit_ = true;
        return;
    }
    int number = 0;
    if (verb == "title" && words >> number && words.get() == ' ') {
        std::string title;
        std::getline(words, title);
        const auto found = toplevels_.find(number);
        if (found != toplevels_.end()) {
            found->second.Rename(title);
            return;
        }
        std::cerr << "velmora_wayland_client: no open toplevel " << number << '\n';
        return;
    }
    std::cerr << "velmora_wayland_client: unknown command: " << line << '\n';
}

}  // namespace

}  // namespace wlclient

int main(int argc, char** argv) {
    wlclient::Options options;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--app-id" && hasValue) {
            options.appId = arguments[++i];
        } else if (argument == "--log" && hasValue) {
            options.logPath = arguments[++i];
        } else if (argument == "--ask") {
            options.ask = true;
        } else if (argument == "--") {
            options.titles.insert(options.titles.end(), arguments.begin() + i + 1, arguments.end());
            break;
        } else if (argument.starts_with("--")) {
            options.titles.clear();
            break;
        } else {
            options.titles.push_back(argument);
        }
    }
    if (options.titles.empty()) {
        std::cerr << "usage: velmora_wayland_client [--app-id ID] [--log PATH] [--ask] TITLE...\n";
        return 2;
    }
    try {
        wlclient::Client client(std::move(options));
        return client.Run();
    } catch (const std::exception& error) {
        std::cerr << "velmora_wayland_client: " << error.what() << '\n';
        return 1;
    }
}
