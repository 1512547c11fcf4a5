#include "framework/runtime/Layout.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <stdexcept>

namespace fw {

bool LayoutProps::Bool(const std::string& key, bool fallback) const {
    auto it = values.find(key);
    if (it == values.end())
        return fallback;
    if (auto* b = std::get_if<bool>(&it->second))
        return *b;
    if (auto* d = std::get_if<double>(&it->second))
        return *d != 0;
    return fallback;
}

int LayoutProps::Int(const std::string& key, int fallback) const {
    auto it = values.find(key);
    if (it == values.end())
        return fallback;
    if (auto* d = std::get_if<double>(&it->second))
        return static_cast<int>(std::lround(*d));
    if (auto* b = std::get_if<bool>(&it->second))
        return *b ? 1 : 0;
    return fallback;
}

std::string LayoutProps::Text(const std::string& key, const std::string& fallback) const {
    auto it = values.find(key);
    if (it == values.end())
        return fallback;
    if (auto* s = std::get_if<std::string>(&it->second))
        return *s;
    return fallback;
}

std::vector<std::string> LayoutProps::List(const std::string& key) const {
    auto it = values.find(key);
    if (it == values.end())
        return {};
    if (auto* l = std::get_if<std::vector<std::string>>(&it->second))
        return *l;
    return {};
}

namespace {

LayoutProps PropsFrom(const QJsonObject& object) {
    LayoutProps props;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string key = it.key().toStdString();
        const QJsonValue v = it.value();
        if (v.isBool())
            props.values[key] = v.toBool();
        else if (v.isDouble())
            props.values[key] = v.toDouble();
        else if (v.isString())
            props.values[key] = v.toString().toStdString();
        else if (v.isArray()) {
            std::vector<std::string> list;
            for (const QJsonValue& item : v.toArray())
                list.push_back(item.toString().toStdString());
            props.values[key] = std::move(list);
        }
    }
    return props;
}

} // namespace

WindowLayout LoadWindowLayout(const std::string& name) {
    QFile file(QStringLiteral(":/layouts/%1.json").arg(QString::fromStdString(name)));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("no layout for window " + name);
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (doc.isNull() || !doc.isObject())
        throw std::runtime_error("layout of " + name + " is malformed: " + error.errorString().toStdString());

    WindowLayout layout;
    layout.name = name;
    const QJsonObject root = doc.object();
    layout.props = PropsFrom(root.value("window").toObject());
    for (const QJsonValue& value : root.value("controls").toArray()) {
        const QJsonObject object = value.toObject();
        ControlLayout control;
        control.props = PropsFrom(object);
        control.name = control.props.Text("name");
        control.kind = control.props.Text("kind");
        control.left = control.props.Int("left");
        control.top = control.props.Int("top");
        control.width = control.props.Int("width");
        control.height = control.props.Int("height");
        layout.controls.push_back(std::move(control));
    }
    return layout;
}

} // namespace fw
