// A font's glyph on the canvas: the baseline it sits on and where the pen
// stops after it, a line each in the window's colours, which Baseline Up or
// Down and Advance Narrower or Wider move.
import { session } from './state.js';

const kBaseline = '#1e64dc';
const kAdvance = '#dc321e';

// Over the canvas painted from (left, top) at `cell` device pixels a dot; nothing for a picture that is no glyph.
export function paintGlyphLines(context, { cell, left, top }) {
    const glyph = session().glyphLines();
    if (!glyph)
        return;
    const { width, height } = context.canvas;
    const thickness = Math.max(2, Math.round(cell / 8));
    context.fillStyle = kBaseline;
    context.fillRect(0, glyph.baseline * cell - top - thickness / 2, width, thickness);
    context.fillStyle = kAdvance;
    context.fillRect((glyph.originColumn + glyph.advance) * cell - left - thickness / 2, 0, thickness, height);
}
