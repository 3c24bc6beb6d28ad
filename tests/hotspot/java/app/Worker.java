package app;

public class Worker {
    public static void main(String[] args) {
        Record.call("main", Worker.class, args);
        new Thread(() -> {
            try {
                Thread.sleep(300);
            } catch (InterruptedException e) {
                return;
            }
            Record.line("worker-ended");
        }).start();
        Record.line("main-returns");
    }
}
