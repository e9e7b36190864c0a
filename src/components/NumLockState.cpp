#include "NumLockState.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

#if defined(QLM_HAVE_XCB_XKB) && QT_CONFIG(xcb)
#define QLM_XKB 1
#include <xcb/xcb.h>
// The XKB header names a member "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <cstdlib>
#endif

namespace {

// The modifier Num Lock locks in the usual keyboard maps (X11's Mod2), as Wayland and X11
// report it in the key events' native modifiers.
constexpr quint32 NumLockModifier = 0x10;

#ifdef QLM_XKB

// The X connection Qt uses, with XKB ready on it; null on other platforms.
struct Xkb
{
    xcb_connection_t *connection = nullptr;
    bool ready = false;
    xcb_atom_t numLock = XCB_ATOM_NONE;
    uint8_t firstEvent = 0;
};

Xkb connectXkb()
{
    Xkb x;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    x.connection = c;
    if (!c)
        return x;
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(c, &xcb_xkb_id);
    if (!extension || !extension->present)
        return x;
    xcb_xkb_use_extension_reply_t *use
        = xcb_xkb_use_extension_reply(c, xcb_xkb_use_extension(c, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr);
    const bool supported = use && use->supported;
    std::free(use);
    if (!supported)
        return x;
    static const char name[] = "Num Lock";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    x.numLock = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(atom);
    x.firstEvent = extension->first_event;
    x.ready = true;
    return x;
}

// Set up once: the program keeps its one connection to the window system.
const Xkb &xkb()
{
    static const Xkb none;
    if (!qGuiApp)
        return none;
    static const Xkb x = connectXkb();
    return x;
}

std::optional<bool> xkbNumLock()
{
    const Xkb &x = xkb();
    if (!x.ready)
        return std::nullopt;
    // The indicator named "Num Lock" of the core keyboard, as its LED would show it.
    if (x.numLock != XCB_ATOM_NONE) {
        xcb_xkb_get_named_indicator_reply_t *r = xcb_xkb_get_named_indicator_reply(
            x.connection,
            xcb_xkb_get_named_indicator(x.connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_LED_CLASS_DFLT_XI_CLASS,
                                        XCB_XKB_ID_DFLT_XI_ID, x.numLock),
            nullptr);
        const bool found = r && r->found;
        const bool on = r && r->on;
        std::free(r);
        if (found)
            return on;
    }
    // A keyboard map without that indicator: the locked modifier instead.
    xcb_xkb_get_state_reply_t *state
        = xcb_xkb_get_state_reply(x.connection, xcb_xkb_get_state(x.connection, XCB_XKB_ID_USE_CORE_KBD), nullptr);
    if (!state)
        return std::nullopt;
    const bool on = state->lockedMods & NumLockModifier;
    std::free(state);
    return on;
}

#endif

}  // namespace

// Hears the X server's keyboard state notices on Qt's own connection (Qt asks for them for its
// keyboard map), so a Num Lock change shows even while another program has the keyboard.
class NumLockState::XkbWatch : public QAbstractNativeEventFilter
{
public:
    explicit XkbWatch(NumLockState *owner) : m_owner(owner) {}

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
#ifdef QLM_XKB
        if (eventType != "xcb_generic_event_t" || !xkb().ready)
            return false;
        const auto *e = static_cast<const xcb_generic_event_t *>(message);
        if ((e->response_type & 0x7f) != xkb().firstEvent)
            return false;
        const auto *notify = static_cast<const xcb_xkb_state_notify_event_t *>(message);
        if (notify->xkbType == XCB_XKB_STATE_NOTIFY && (notify->changed & XCB_XKB_STATE_PART_MODIFIER_LOCK))
            QMetaObject::invokeMethod(m_owner, &NumLockState::mayHaveChanged, Qt::QueuedConnection);
#else
        Q_UNUSED(eventType);
        Q_UNUSED(message);
#endif
        return false;
    }

private:
    NumLockState *m_owner;
};

NumLockState::NumLockState(QObject *parent) : QObject(parent), m_xkbWatch(std::make_unique<XkbWatch>(this))
{
    if (QCoreApplication *app = QCoreApplication::instance()) {
        app->installEventFilter(this);
        app->installNativeEventFilter(m_xkbWatch.get());
    }
}

NumLockState::~NumLockState()
{
    if (QCoreApplication *app = QCoreApplication::instance()) {
        app->removeNativeEventFilter(m_xkbWatch.get());
        app->removeEventFilter(this);
    }
}

std::optional<bool> NumLockState::fromWindowSystem()
{
#ifdef QLM_XKB
    return xkbNumLock();
#else
    return std::nullopt;
#endif
}

std::optional<bool> NumLockState::fromLed()
{
    const QDir leds(QStringLiteral("/sys/class/leds"));
    for (const QString &name : leds.entryList({QStringLiteral("*numlock*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f(leds.filePath(name) + QStringLiteral("/brightness"));
        if (f.open(QIODevice::ReadOnly))
            return f.readAll().trimmed() != "0";
    }
    return std::nullopt;
}

bool NumLockState::isOn()
{
    if (const auto on = fromWindowSystem())
        return *on;
    if (const auto on = fromLed())
        return *on;
    return m_fromKeys;
}

bool NumLockState::eventFilter(QObject *watched, QEvent *event)
{
    // A key event from the window system reaches its window once, then the widgets in turn:
    // looked at on the window only, so one press counts once.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && watched->isWindowType())
        keyEvent(static_cast<const QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}

void NumLockState::keyEvent(const QKeyEvent *event)
{
    // On X11 and Wayland the native modifiers carry the locks as they were before this event;
    // elsewhere only the Num Lock presses tell.
    const QString platform = QGuiApplication::platformName();
    const bool modifiersTell = platform == u"xcb" || platform.startsWith(u"wayland");
    const bool locked = event->nativeModifiers() & NumLockModifier;
    if (event->key() != Qt::Key_NumLock) {
        if (modifiersTell)
            m_fromKeys = locked;
        return;
    }
    if (event->isAutoRepeat())
        return;
    if (event->type() == QEvent::KeyPress)
        m_fromKeys = modifiersTell ? !locked : !m_fromKeys;
    else if (modifiersTell)
        m_fromKeys = locked;  // the press has toggled it by now
    Q_EMIT mayHaveChanged();
}
