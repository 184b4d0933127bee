#include "SessionServices.h"

#include <gio/gio.h>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace e2e {

namespace {

constexpr char kWatcherName[] = "org.kde.StatusNotifierWatcher";
constexpr char kWatcherPath[] = "/StatusNotifierWatcher";
constexpr char kNotificationsName[] = "org.freedesktop.Notifications";
constexpr char kNotificationsPath[] = "/org/freedesktop/Notifications";

constexpr char kInterfaces[] = R"(
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
  <interface name="org.freedesktop.Notifications">
    <method name="GetCapabilities"><arg type="as" direction="out"/></method>
    <method name="GetServerInformation">
      <arg type="s" direction="out"/><arg type="s" direction="out"/>
      <arg type="s" direction="out"/><arg type="s" direction="out"/>
    </method>
    <method name="Notify">
      <arg type="s" direction="in"/><arg type="u" direction="in"/>
      <arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="s" direction="in"/><arg type="as" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/>
      <arg type="u" direction="out"/>
    </method>
    <method name="CloseNotification"><arg type="u" direction="in"/></method>
    <signal name="NotificationClosed"><arg type="u"/><arg type="u"/></signal>
  </interface>
</node>)";

}  // namespace

struct SessionServices::State {
    GMainContext* context = g_main_context_new();
    GMainLoop* loop = g_main_loop_new(context, FALSE);
    GDBusConnection* bus = nullptr;
    GDBusNodeInfo* interfaces = nullptr;
    std::thread thread;

    mutable std::mutex mutex;
    std::condition_variable ready;
    int namesOwned = 0;
    bool failed = false;
    std::vector<std::string> items;
    std::vector<Notification> notifications;

    ~State() {
        if (loop) g_main_loop_quit(loop);
        if (thread.joinable()) thread.join();
        if (interfaces) g_dbus_node_info_unref(interfaces);
        if (bus) g_object_unref(bus);
        g_main_loop_unref(loop);
        g_main_context_unref(context);
    }

    void NameSettled(bool owned) {
        std::lock_guard lock(mutex);
        if (owned) ++namesOwned; else failed = true;
        ready.notify_all();
    }

    // The watcher's and the notification service's methods.
    static void Call(GDBusConnection* bus, const gchar* sender, const gchar*, const gchar*,
                     const gchar* method, GVariant* parameters, GDBusMethodInvocation* invocation,
                     gpointer data) {
        auto* self = static_cast<State*>(data);
        const std::string name = method;
        if (name == "RegisterStatusNotifierItem") {
            const gchar* service = nullptr;
            g_variant_get(parameters, "(&s)", &service);
            // An item may name itself by its object path alone: then the sender is its service.
            const std::string item = service[0] == '/' ? sender : service;
            {
                std::lock_guard lock(self->mutex);
                self->items.push_back(item);
            }
            g_dbus_connection_emit_signal(bus, nullptr, kWatcherPath, kWatcherName,
                                          "StatusNotifierItemRegistered",
                                          g_variant_new("(s)", item.c_str()), nullptr);
            g_dbus_method_invocation_return_value(invocation, nullptr);
        } else if (name == "RegisterStatusNotifierHost" || name == "CloseNotification") {
            g_dbus_method_invocation_return_value(invocation, nullptr);
        } else if (name == "GetCapabilities") {
            const gchar* capabilities[] = {"body", nullptr};
            g_dbus_method_invocation_return_value(invocation,
                                                  g_variant_new("(^as)", capabilities));
        } else if (name == "GetServerInformation") {
            g_dbus_method_invocation_return_value(
                invocation, g_variant_new("(ssss)", "velmora-e2e", "Velmora Suite tests", "1",
                                          "1.2"));
        } else if (name == "Notify") {
            const gchar* summary = nullptr;
            const gchar* body = nullptr;
            g_variant_get(parameters, "(&su&s&s&s@as@a{sv}i)", nullptr, nullptr, nullptr,
                          &summary, &body, nullptr, nullptr, nullptr);
            guint32 id = 0;
            {
                std::lock_guard lock(self->mutex);
                self->notifications.push_back({summary, body});
                id = static_cast<guint32>(self->notifications.size());
            }
            g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", id));
        } else {
            g_dbus_method_invocation_return_dbus_error(
                invocation, "org.freedesktop.DBus.Error.UnknownMethod", method);
        }
    }

    static GVariant* Property(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                              const gchar* property, GError**, gpointer data) {
        auto* self = static_cast<State*>(data);
        const std::string name = property;
        if (name == "IsStatusNotifierHostRegistered") return g_variant_new_boolean(TRUE);
        if (name == "ProtocolVersion") return g_variant_new_int32(0);
        GVariantBuilder builder;
        g_variant_builder_init(&builder, G_VARIANT_TYPE("as"));
        std::lock_guard lock(self->mutex);
        for (const std::string& item : self->items) {
            g_variant_builder_add(&builder, "s", item.c_str());
        }
        return g_variant_builder_end(&builder);
    }

    void Serve(const char* name, const char* path, const char* interface) {
        static const GDBusInterfaceVTable vtable{Call, Property, nullptr, {}};
        GError* error = nullptr;
        g_dbus_connection_register_object(
            bus, path, g_dbus_node_info_lookup_interface(interfaces, interface), &vtable, this,
            nullptr, &error);
        if (error) g_error_free(error);
        g_bus_own_name_on_connection(
            bus, name, G_BUS_NAME_OWNER_FLAGS_NONE,
            [](GDBusConnection*, const gchar*, gpointer data) {
                static_cast<State*>(data)->NameSettled(true);
            },
            [](GDBusConnection*, const gchar*, gpointer data) {
                static_cast<State*>(data)->NameSettled(false);
            },
            this, nullptr);
    }
};

SessionServices::SessionServices() : state_(std::make_unique<State>()) {
    State& s = *state_;
    GError* error = nullptr;
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (address) {
        // A connection of its own, whose calls are answered on the services' thread.
        g_main_context_push_thread_default(s.context);
        s.bus = g_dbus_connection_new_for_address_sync(
            address,
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
        g_free(address);
        if (s.bus) {
            s.interfaces = g_dbus_node_info_new_for_xml(kInterfaces, nullptr);
            s.Serve(kWatcherName, kWatcherPath, kWatcherName);
            s.Serve(kNotificationsName, kNotificationsPath, kNotificationsName);
        }
        g_main_context_pop_thread_default(s.context);
    }
    if (error) g_error_free(error);
    if (!s.bus) throw std::runtime_error("no session bus for the tray and notifications");
    s.thread = std::thread([&s] {
        g_main_context_push_thread_default(s.context);
        g_main_loop_run(s.loop);
        g_main_context_pop_thread_default(s.context);
    });
    std::unique_lock lock(s.mutex);
    if (!s.ready.wait_for(lock, std::chrono::seconds(5),
                          [&] { return s.failed || s.namesOwned == 2; }) ||
        s.failed) {
        throw std::runtime_error("the tray's and notifications' bus names are taken");
    }
}

SessionServices::~SessionServices() = default;

std::vector<std::string> SessionServices::Items() const {
    std::lock_guard lock(state_->mutex);
    return state_->items;
}

std::vector<Notification> SessionServices::Notifications() const {
    std::lock_guard lock(state_->mutex);
    return state_->notifications;
}

pid_t SessionServices::OwnerPid(const std::string& busName) const {
    GVariant* reply = g_dbus_connection_call_sync(
        state_->bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "GetConnectionUnixProcessID", g_variant_new("(s)", busName.c_str()),
        G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
    if (!reply) return 0;
    guint32 pid = 0;
    g_variant_get(reply, "(u)", &pid);
    g_variant_unref(reply);
    return static_cast<pid_t>(pid);
}

bool SessionServices::Activate(const std::string& item) const {
    GVariant* reply = g_dbus_connection_call_sync(
        state_->bus, item.c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
        "Activate", g_variant_new("(ii)", 0, 0), nullptr, G_DBUS_CALL_FLAGS_NONE, 2000, nullptr,
        nullptr);
    if (!reply) return false;
    g_variant_unref(reply);
    return true;
}

}  // namespace e2e
