// The engine's name in its logs and TMX headers.
namespace orv::engine {
extern const char* const kEngineName = "OrvBatchAnalyse engine";
}  // namespace orv::engine
