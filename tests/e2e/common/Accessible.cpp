#include "Accessible.h"

#include <atspi/atspi.h>

#include <algorithm>
#include <stdexcept>

namespace e2e {

namespace {

// libatspi answers with strings the caller frees; an absent one reads as empty.
std::string Owned(gchar* text) {
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

// The error of a failed call is dropped: an object that vanished reads as empty.
struct Error {
    GError* error = nullptr;
    ~Error() {
        if (error) g_error_free(error);
    }
    GError** operator&() { return &error; }
};

bool HasState(_AtspiAccessible* object, AtspiStateType state) {
    if (!object) return false;
    AtspiStateSet* states = atspi_accessible_get_state_set(object);
    const bool has = states && atspi_state_set_contains(states, state);
    if (states) g_object_unref(states);
    return has;
}

// What `read` answers of the object's table interface; `absent` when it has none.
template <typename Result, typename Read>
Result FromTable(AtspiAccessible* object, Result absent, Read read) {
    AtspiTable* table = object ? atspi_accessible_get_table_iface(object) : nullptr;
    if (!table) return absent;
    Error error;
    Result result = read(table, &error);
    g_object_unref(table);
    return result;
}

// Pumps the bus's events into their listeners.
void DispatchEvents() {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
}

}  // namespace

Accessible::~Accessible() {
    if (object_) g_object_unref(object_);
}

Accessible::Accessible(const Accessible& other) : object_(other.object_) {
    if (object_) g_object_ref(object_);
}

Accessible& Accessible::operator=(Accessible other) {
    std::swap(object_, other.object_);
    return *this;
}

std::string Accessible::Role() const {
    if (!object_) return {};
    // libatspi 2.5x calls a push button "button"; the drivers keep one name on every release.
    if (Error error; atspi_accessible_get_role(object_, &error) == ATSPI_ROLE_PUSH_BUTTON) {
        return "push button";
    }
    Error error;
    return Owned(atspi_accessible_get_role_name(object_, &error));
}

std::string Accessible::Name() const {
    Error error;
    return object_ ? Owned(atspi_accessible_get_name(object_, &error)) : std::string();
}

pid_t Accessible::ProcessId() const {
    Error error;
    return object_ ? static_cast<pid_t>(atspi_accessible_get_process_id(object_, &error)) : 0;
}

bool Accessible::Checked() const { return HasState(object_, ATSPI_STATE_CHECKED); }
bool Accessible::Enabled() const { return HasState(object_, ATSPI_STATE_ENABLED); }
bool Accessible::Focused() const { return HasState(object_, ATSPI_STATE_FOCUSED); }
bool Accessible::Showing() const { return HasState(object_, ATSPI_STATE_SHOWING); }

std::vector<Accessible> Accessible::Children() const {
    std::vector<Accessible> children;
    if (!object_) return children;
    Error error;
    const int count = atspi_accessible_get_child_count(object_, &error);
    for (int i = 0; i < count; ++i) {
        Error childError;
        if (AtspiAccessible* child = atspi_accessible_get_child_at_index(object_, i, &childError)) {
            children.emplace_back(child);
        }
    }
    return children;
}

Accessible Accessible::Parent() const {
    Error error;
    return object_ ? Accessible(atspi_accessible_get_parent(object_, &error)) : Accessible();
}

std::vector<Accessible> Accessible::FindAll(
    const std::function<bool(const Accessible&)>& wanted) const {
    std::vector<Accessible> found;
    if (!object_) return found;
    if (wanted(*this)) found.push_back(*this);
    for (const Accessible& child : Children()) {
        for (Accessible& each : child.FindAll(wanted)) found.push_back(std::move(each));
    }
    return found;
}

Accessible Accessible::Find(const std::function<bool(const Accessible&)>& wanted) const {
    std::vector<Accessible> found = FindAll(wanted);
    return found.empty() ? Accessible() : found.front();
}

std::string Accessible::Text() const {
    AtspiText* text = object_ ? atspi_accessible_get_text_iface(object_) : nullptr;
    if (!text) return {};
    Error error;
    const int length = atspi_text_get_character_count(text, &error);
    std::string content = Owned(atspi_text_get_text(text, 0, length, &error));
    g_object_unref(text);
    return content;
}

std::vector<std::string> Accessible::Actions() const {
    std::vector<std::string> names;
    AtspiAction* action = object_ ? atspi_accessible_get_action_iface(object_) : nullptr;
    if (!action) return names;
    Error error;
    const int count = atspi_action_get_n_actions(action, &error);
    for (int i = 0; i < count; ++i) {
        Error nameError;
        names.push_back(Owned(atspi_action_get_action_name(action, i, &nameError)));
    }
    g_object_unref(action);
    return names;
}

bool Accessible::DoAction(const std::string& name) const {
    const std::vector<std::string> names = Actions();
    const auto at = std::find(names.begin(), names.end(), name);
    AtspiAction* action = object_ ? atspi_accessible_get_action_iface(object_) : nullptr;
    if (!action || at == names.end()) return false;
    Error error;
    const bool done = atspi_action_do_action(action, static_cast<int>(at - names.begin()), &error);
    g_object_unref(action);
    return done;
}

bool Accessible::GrabFocus() const {
    AtspiComponent* component = object_ ? atspi_accessible_get_component_iface(object_) : nullptr;
    if (!component) return false;
    Error error;
    const bool done = atspi_component_grab_focus(component, &error);
    g_object_unref(component);
    return done;
}

std::optional<ScreenBox> Accessible::Extents() const {
    AtspiComponent* component = object_ ? atspi_accessible_get_component_iface(object_) : nullptr;
    if (!component) return std::nullopt;
    Error error;
    AtspiRect* rect = atspi_component_get_extents(component, ATSPI_COORD_TYPE_SCREEN, &error);
    g_object_unref(component);
    if (!rect) return std::nullopt;
    const ScreenBox box{rect->x, rect->y, rect->width, rect->height};
    g_free(rect);
    return box;
}

int Accessible::RowCount() const {
    return FromTable(object_, 0, [](AtspiTable* table, GError** error) {
        return atspi_table_get_n_rows(table, error);
    });
}

int Accessible::ColumnCount() const {
    return FromTable(object_, 0, [](AtspiTable* table, GError** error) {
        return atspi_table_get_n_columns(table, error);
    });
}

Accessible Accessible::Cell(int row, int column) const {
    return FromTable(object_, Accessible(), [&](AtspiTable* table, GError** error) {
        return Accessible(atspi_table_get_accessible_at(table, row, column, error));
    });
}

std::string Accessible::ColumnHeader(int column) const {
    return FromTable(object_, std::string(), [&](AtspiTable* table, GError** error) {
        return Accessible(atspi_table_get_column_header(table, column, error)).Name();
    });
}

void ConnectToAccessibilityBus() {
    if (atspi_init() > 1) throw std::runtime_error("no accessibility bus");
}

Accessible FindApplication(const std::string& name, pid_t pid) {
    DispatchEvents();
    const Accessible desktop(atspi_get_desktop(0));
    for (const Accessible& application : desktop.Children()) {
        if (application.ProcessId() == pid && application.Name() == name) {
            atspi_accessible_set_cache_mask(application.object_, ATSPI_CACHE_NONE);
            return application;
        }
    }
    return {};
}

struct CheckAnnouncements::Listener {
    AtspiEventListener* listener = nullptr;
    std::vector<std::pair<std::string, bool>> heard;
};

CheckAnnouncements::CheckAnnouncements() : listener_(std::make_unique<Listener>()) {
    listener_->listener = atspi_event_listener_new(
        [](AtspiEvent* event, void* data) {
            auto* self = static_cast<Listener*>(data);
            Error error;
            self->heard.emplace_back(Owned(atspi_accessible_get_name(event->source, &error)),
                                     event->detail1 != 0);
            g_boxed_free(ATSPI_TYPE_EVENT, event);
        },
        listener_.get(), nullptr);
    Error error;
    atspi_event_listener_register(listener_->listener, "object:state-changed:checked", &error);
}

CheckAnnouncements::~CheckAnnouncements() {
    Error error;
    atspi_event_listener_deregister(listener_->listener, "object:state-changed:checked", &error);
    g_object_unref(listener_->listener);
}

std::vector<std::pair<std::string, bool>> CheckAnnouncements::Take() {
    DispatchEvents();
    return std::exchange(listener_->heard, {});
}

}  // namespace e2e
