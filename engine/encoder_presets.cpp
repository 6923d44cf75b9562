// Encoder presets: the built-in presets of the H.264 encoder and preset files, each a text of
// "key=value" lines applied to the task's option contexts ("apre", "vpre", "spre", "fpre").
#include "engine/encoder_presets.h"

#include "engine/transcoder.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/streams.h"
#include "platform/framework/core/strings.h"

// In ascending order of their names. The lines keep the option names the presets were
// written with; the option setter translates those the encoder now takes otherwise.
const TOptionsPreset BuiltinPresets[BuiltinPresetCount] = {
    {"libx264-baseline",
     "coder=0\n"
     "bf=0\n"
     "flags2=-wpred-dct8x8\n"
     "wpredp=0\n"},
    {"libx264-default",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partb8x8\n"
     "me_method=hex\n"
     "subq=7\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=3\n"
     "directpred=1\n"
     "trellis=1\n"
     "flags2=+mixed_refs+wpred+dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-fast",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partb8x8\n"
     "me_method=hex\n"
     "subq=6\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=2\n"
     "directpred=1\n"
     "trellis=1\n"
     "flags2=+bpyramid+mixed_refs+wpred+dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-fast_firstpass",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8\n"
     "me_method=dia\n"
     "subq=2\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=1\n"
     "directpred=1\n"
     "trellis=0\n"
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-faster",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partb8x8\n"
     "me_method=hex\n"
     "subq=4\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=2\n"
     "directpred=1\n"
     "trellis=1\n"
     "flags2=+bpyramid-mixed_refs+wpred+dct8x8+fastpskip\n"
     "wpredp=1\n"},
    {"libx264-faster_firstpass",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8\n"
     "me_method=dia\n"
     "subq=2\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=1\n"
     "directpred=1\n"
     "trellis=0\n"
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip\n"
     "wpredp=1\n"},
    {"libx264-fastfirstpass",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8-parti4x4-partp8x8-partp4x4-partb8x8\n"
     "me_method=dia\n"
     "subq=2\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=1\n"
     "directpred=3\n"
     "trellis=0\n"
     "flags2=-bpyramid-wpred-mixed_refs-dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-hq",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partb8x8\n"
     "me_method=umh\n"
     "subq=8\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=2\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=4\n"
     "directpred=3\n"
     "trellis=1\n"
     "flags2=+wpred+mixed_refs+dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-ipod320",
     "coder=0\n"
     "bf=0\n"
     "flags2=-wpred-dct8x8\n"
     "level=13\n"
     "maxrate=768000\n"
     "bufsize=3000000\n"
     "wpredp=0\n"},
    {"libx264-ipod640",
     "coder=0\n"
     "bf=0\n"
     "refs=1\n"
     "flags2=-wpred-dct8x8\n"
     "level=30\n"
     "maxrate=10000000\n"
     "bufsize=10000000\n"
     "wpredp=0\n"},
    {"libx264-lossless_fast",
     "coder=0\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8+parti4x4+partp8x8-partp4x4-partb8x8\n"
     "me_method=hex\n"
     "subq=3\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "directpred=1\n"
     "flags2=+fastpskip\n"
     "cqp=0\n"
     "wpredp=0\n"},
    {"libx264-lossless_max",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8\n"
     "me_method=esa\n"
     "subq=8\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "refs=16\n"
     "directpred=1\n"
     "flags2=+mixed_refs+dct8x8+fastpskip\n"
     "cqp=0\n"
     "wpredp=2\n"},
    {"libx264-lossless_medium",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8+parti4x4+partp8x8+partp4x4-partb8x8\n"
     "me_method=hex\n"
     "subq=5\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "directpred=1\n"
     "flags2=+fastpskip\n"
     "cqp=0\n"
     "wpredp=2\n"},
    {"libx264-lossless_slow",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8\n"
     "me_method=umh\n"
     "subq=6\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "refs=2\n"
     "directpred=1\n"
     "flags2=+dct8x8+fastpskip\n"
     "cqp=0\n"
     "wpredp=2\n"},
    {"libx264-lossless_slower",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8\n"
     "me_method=umh\n"
     "subq=8\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "refs=4\n"
     "directpred=1\n"
     "flags2=+mixed_refs+dct8x8+fastpskip\n"
     "cqp=0\n"
     "wpredp=2\n"},
    {"libx264-lossless_ultrafast",
     "coder=0\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8-parti4x4-partp8x8-partp4x4-partb8x8\n"
     "me_method=dia\n"
     "subq=0\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "directpred=1\n"
     "flags2=+fastpskip\n"
     "cqp=0\n"},
    {"libx264-main", "flags2=-dct8x8\n"},
    {"libx264-max",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8\n"
     "me_method=tesa\n"
     "subq=10\n"
     "me_range=24\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=2\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=16\n"
     "directpred=3\n"
     "trellis=2\n"
     "flags2=+wpred+mixed_refs+dct8x8-fastpskip\n"
     "wpredp=2\n"},
    {"libx264-medium",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partb8x8\n"
     "me_method=hex\n"
     "subq=7\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=3\n"
     "directpred=1\n"
     "trellis=1\n"
     "flags2=+bpyramid+mixed_refs+wpred+dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-medium_firstpass",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8\n"
     "me_method=dia\n"
     "subq=2\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=1\n"
     "directpred=1\n"
     "trellis=0\n"
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-normal",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partb8x8\n"
     "me_method=hex\n"
     "subq=6\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=2\n"
     "directpred=3\n"
     "trellis=0\n"
     "flags2=+wpred+dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-placebo",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8\n"
     "me_method=tesa\n"
     "subq=10\n"
     "me_range=24\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=2\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=16\n"
     "refs=16\n"
     "directpred=3\n"
     "trellis=2\n"
     "flags2=+bpyramid+mixed_refs+wpred+dct8x8-fastpskip\n"
     "wpredp=2\n"},
    {"libx264-placebo_firstpass",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8\n"
     "me_method=tesa\n"
     "subq=10\n"
     "me_range=24\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=2\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=16\n"
     "refs=16\n"
     "directpred=3\n"
     "trellis=2\n"
     "flags2=+bpyramid+mixed_refs+wpred+dct8x8-fastpskip\n"
     "wpredp=2\n"},
    {"libx264-slow",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partb8x8\n"
     "me_method=umh\n"
     "subq=8\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=2\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=5\n"
     "directpred=3\n"
     "trellis=1\n"
     "flags2=+bpyramid+mixed_refs+wpred+dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-slow_firstpass",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8\n"
     "me_method=dia\n"
     "subq=2\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=2\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=1\n"
     "directpred=3\n"
     "trellis=0\n"
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-slower",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8\n"
     "me_method=umh\n"
     "subq=9\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=2\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=8\n"
     "directpred=3\n"
     "trellis=2\n"
     "flags2=+bpyramid+mixed_refs+wpred+dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-slower_firstpass",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8\n"
     "me_method=dia\n"
     "subq=2\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=2\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=1\n"
     "directpred=3\n"
     "trellis=0\n"
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-slowfirstpass",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partb8x8\n"
     "me_method=hex\n"
     "subq=6\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=2\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=1\n"
     "directpred=3\n"
     "trellis=0\n"
     "flags2=+wpred+dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-superfast",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4-partp8x8-partb8x8\n"
     "me_method=dia\n"
     "subq=1\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=1\n"
     "directpred=1\n"
     "trellis=0\n"
     "flags2=+bpyramid-mixed_refs+wpred+dct8x8+fastpskip-mbtree\n"
     "wpredp=0\n"},
    {"libx264-superfast_firstpass",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8\n"
     "me_method=dia\n"
     "subq=1\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=1\n"
     "directpred=1\n"
     "trellis=0\n"
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip-mbtree\n"
     "wpredp=0\n"},
    {"libx264-ultrafast",
     "coder=0\n"
     "flags=-loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8\n"
     "me_method=dia\n"
     "subq=0\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=0\n"
     "i_qfactor=0.71\n"
     "b_strategy=0\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=0\n"
     "refs=1\n"
     "directpred=1\n"
     "trellis=0\n"
     "flags2=-bpyramid-mixed_refs-wpred-dct8x8+fastpskip-mbtree\n"
     "wpredp=0\n"},
    {"libx264-ultrafast_firstpass",
     "coder=0\n"
     "flags=-loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8\n"
     "me_method=dia\n"
     "subq=0\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=0\n"
     "i_qfactor=0.71\n"
     "b_strategy=0\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=0\n"
     "refs=1\n"
     "directpred=1\n"
     "trellis=0\n"
     "flags2=-bpyramid-mixed_refs-wpred-dct8x8+fastpskip-mbtree\n"
     "wpredp=0\n"},
    {"libx264-veryfast",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partb8x8\n"
     "me_method=hex\n"
     "subq=2\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=1\n"
     "directpred=1\n"
     "trellis=0\n"
     "flags2=+bpyramid-mixed_refs+wpred+dct8x8+fastpskip-mbtree\n"
     "wpredp=0\n"},
    {"libx264-veryfast_firstpass",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8\n"
     "me_method=dia\n"
     "subq=2\n"
     "me_range=16\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=1\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=3\n"
     "refs=1\n"
     "directpred=1\n"
     "trellis=0\n"
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip-mbtree\n"
     "wpredp=0\n"},
    {"libx264-veryslow",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8\n"
     "me_method=umh\n"
     "subq=10\n"
     "me_range=24\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=2\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=8\n"
     "refs=16\n"
     "directpred=3\n"
     "trellis=2\n"
     "flags2=+bpyramid+mixed_refs+wpred+dct8x8+fastpskip\n"
     "wpredp=2\n"},
    {"libx264-veryslow_firstpass",
     "coder=1\n"
     "flags=+loop\n"
     "cmp=+chroma\n"
     "partitions=-parti8x8-parti4x4-partp8x8-partb8x8\n"
     "me_method=dia\n"
     "subq=2\n"
     "me_range=24\n"
     "g=250\n"
     "keyint_min=25\n"
     "sc_threshold=40\n"
     "i_qfactor=0.71\n"
     "b_strategy=2\n"
     "qcomp=0.6\n"
     "qmin=10\n"
     "qmax=51\n"
     "qdiff=4\n"
     "bf=8\n"
     "refs=1\n"
     "directpred=3\n"
     "trellis=0\n"
     "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip\n"
     "wpredp=2\n"},
};

namespace {

bool SameAsciiText(const String& A, const char* B)
{
    size_t i = 0;
    for (; i < A.size() && B[i]; ++i) {
        wchar_t a = A[i];
        char b = B[i];
        if (a >= L'A' && a <= L'Z') a = a - L'A' + L'a';
        if (b >= 'A' && b <= 'Z') b = char(b - 'A' + 'a');
        if (a != wchar_t(static_cast<unsigned char>(b))) return false;
    }
    return i == A.size() && !B[i];
}

// Removes every character up to and including the blank at both ends.
String TrimControls(const String& AText)
{
    size_t first = 0, last = AText.size();
    while (first < last && AText[first] <= L' ') ++first;
    while (last > first && AText[last - 1] <= L' ') --last;
    return AText.substr(first, last - first);
}

String ReadPresetFile(const String& AFileName)
{
    TFileStream stream(AFileName, fmOpenRead | fmShareDenyWrite);
    std::string bytes(size_t(stream.Size()), '\0');
    if (!bytes.empty()) stream.ReadBuffer(bytes.data(), int64_t(bytes.size()));
    return AnsiToString(bytes);
}

}  // namespace

void FindBuiltinPreset(const String& AName, String& AText)
{
    AText.clear();
    for (const TOptionsPreset& preset : BuiltinPresets) {
        if (SameAsciiText(AName, preset.Name)) {
            AText = Utf8ToString(preset.Value);
            return;
        }
    }
}

void TCustomFFmpeg::LoadPreset(const String& AKind, const String& AName)
{
    if (AKind.empty() || AName.empty()) return;
    String presetName = AName;
    String text;
    if (AKind[0] != L'f') {
        FindBuiltinPreset(AName, text);
        if (text.empty()) {
            const std::string* codec = nullptr;
            if (AKind[0] == L'v' && !Fvideo_codec_name.empty())
                codec = &Fvideo_codec_name;
            else if (AKind[0] == L'a' && !Faudio_codec_name.empty())
                codec = &Faudio_codec_name;
            else if (!Fsubtitle_codec_name.empty())
                codec = &Fsubtitle_codec_name;
            if (codec) presetName = Utf8ToString(*codec) + L"-" + AName;
            FindBuiltinPreset(presetName, text);
        }
    }
    if (text.empty()) {
        // Not built in: the name is a preset file, relative names from the current folder.
        if (!FileExists(AName)) throw FFmpegException(Format(L"Preset \"%s\" not found", AName));
        text = ReadPresetFile(AName);
    }
    text = TrimControls(text);
    text = StringReplace(text, L"\r\n", L"\n", rfReplaceAll);
    text = StringReplace(text, L"\r", L"\n", rfReplaceAll);

    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(L'\n', pos);
        if (end == String::npos) end = text.size();
        String line = TrimControls(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;
        size_t eq = line.find(L'=');
        if (eq == String::npos || eq == 0 || eq + 1 == line.size())
            throw FFmpegException(Format(L"%s: Invalid syntax: \"%s\"", presetName, line));
        String key = line.substr(0, eq);
        String value = line.substr(eq + 1);
        if (SameText(key, L"acodec"))
            SetAudioCodec(value);
        else if (SameText(key, L"vcodec"))
            SetVideoCodec(value);
        else if (SameText(key, L"scodec"))
            SetSubtitleCodec(value);
        else if (!SetContextOption(StringToUtf8(key), StringToUtf8(value)))
            throw FFmpegException(Format(L"%s: Invalid option or argument: \"%s\", parsed as \"%s\" = \"%s\"",
                                         presetName, line, key, value));
    }
}
