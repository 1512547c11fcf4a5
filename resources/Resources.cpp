// Anchors the resource library; the compiled-in files themselves come from qt_add_resources.
namespace quillfen::resources {
int Anchor() { return 0; }
} // namespace quillfen::resources
