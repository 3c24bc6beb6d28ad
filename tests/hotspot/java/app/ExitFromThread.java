package app;

public class ExitFromThread {
    public static void main(String[] args) throws InterruptedException {
        Record.call("main", ExitFromThread.class, args);
        Thread exiting = new Thread(() -> System.exit(5));
        exiting.start();
        exiting.join();
        Record.line("main-survived-exit");
    }
}
